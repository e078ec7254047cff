#pragma once
// The head of a WAV file as this program writes it: "RIFF", "WAVE", the "fmt " chunk and the
// head of the "data" chunk; and the "smpl" chunk that carries a build's loop to the player.
// Builds and the decoder module write the 16-byte format record that strict readers expect;
// the capture device writes the whole 18-byte record with an extra size of 0.

#include "model/WaveFormat.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr size_t kWavHeaderSize = 44;          // with the 16-byte format record
constexpr size_t kWavHeaderSizeWithExtra = 46; // with the 18-byte format record
constexpr size_t kSamplerChunkSize = 68;       // "smpl" with one loop

// The header of a file whose "data" chunk holds dataSize bytes and is followed by its pad
// byte when dataSize is odd, then by trailingBytes of further chunks. The format's tag,
// channels, rate, block size and width are written as given; the bytes per second as rate
// times block size, so the record is consistent whatever the caller filled in. The caller
// keeps the file within the 32-bit sizes of RIFF.
std::array<uint8_t, kWavHeaderSize> MakeWavHeader(const WAVE_FORMAT& format, uint32_t dataSize,
                                                  uint32_t trailingBytes = 0);
std::array<uint8_t, kWavHeaderSizeWithExtra> MakeWavHeaderWithExtra(const WAVE_FORMAT& format,
                                                                    uint32_t dataSize);

// A "smpl" chunk with MIDI unity note 60 and one forward loop over the frames start..end
// (end inclusive), counted from the first frame of the data.
std::array<uint8_t, kSamplerChunkSize> MakeSamplerChunk(uint32_t loopStart, uint32_t loopEnd);

// The format record at the start of a "fmt " chunk; `record` holds 18 bytes (zeros beyond
// what a shorter chunk supplied).
WAVE_FORMAT ReadFormatRecord(const uint8_t* record);
