#pragma once
// Where everything lies in the WAV file of a build: header, leading silence, one slot per
// song second, trailing silence, pad byte and the optional sampler loop chunk.

#include "model/Result.h"
#include "model/WavHeader.h"
#include "model/WaveFormat.h"

#include <array>
#include <cstdint>
#include <span>

class CProject;

struct BuildLayout {
    static constexpr uint64_t kHeaderSize = kWavHeaderSize;
    static constexpr uint64_t kSamplerChunkSize = ::kSamplerChunkSize;

    WAVE_FORMAT format{};
    double lengthSeconds = 0;
    int32_t secondCount = 0; // ceil(lengthSeconds)
    int64_t leadFrames = 0;  // S
    int64_t songFrames = 0;  // N
    int64_t tailFrames = 0;  // E
    uint64_t dataSize = 0;   // D = (S + N + E) * block
    bool hasLoop = false;    // a "smpl" chunk follows the data
    uint32_t loopStartFrame = 0;
    uint32_t loopEndFrame = 0; // inclusive

    uint64_t BlockSize() const { return format.blockAlign; }
    uint64_t BytesPerSecond() const { return format.avgBytesPerSec; }
    uint64_t PadSize() const { return (kHeaderSize + dataSize) % 2; }
    uint64_t FileSize() const {
        return kHeaderSize + dataSize + PadSize() + (hasLoop ? kSamplerChunkSize : 0);
    }
    uint64_t SongOffset() const { return kHeaderSize + uint64_t(leadFrames) * BlockSize(); }
    uint64_t SecondOffset(int32_t second) const {
        return SongOffset() + uint64_t(second) * BytesPerSecond();
    }
    uint64_t TailOffset() const { return SongOffset() + uint64_t(songFrames) * BlockSize(); }
    // Frames of song second `second`: a whole second except for the last, partial one.
    int32_t FramesOfSecond(int32_t second) const;
    // The byte every silent sample is made of: 0x80 for unsigned 8-bit, else 0.
    uint8_t SilenceByte() const { return format.bitsPerSample == 8 ? 0x80 : 0x00; }
};

// Computes the layout of the project's build. Refuses, with a message, an output format
// the build cannot write and a song whose file would not fit the 32-bit RIFF sizes.
Result MakeBuildLayout(const CProject& project, BuildLayout& layout);

// The 44-byte header with the sizes of a finished file.
std::array<uint8_t, BuildLayout::kHeaderSize> MakeWaveHeader(const BuildLayout& layout);
// The "smpl" chunk with the song's loop (only meaningful when hasLoop).
std::array<uint8_t, BuildLayout::kSamplerChunkSize> MakeSamplerChunk(const BuildLayout& layout);

// How many song bytes of an earlier build the file at hand still holds: 0 unless `head`
// (the file's first 44 bytes) is the header of a build with the same format, else the
// song region that header's data size and the file's real size both cover.
uint64_t ReusableSongBytes(std::span<const uint8_t> head, uint64_t fileSize,
                           const BuildLayout& layout);
