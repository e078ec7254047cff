#include "engine/internal/BuildLayout.h"

#include "model/CProject.h"
#include "model/LittleEndian.h"
#include "model/WavHeader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr int32_t kMinRate = 1000;
constexpr int32_t kMaxRate = 384000;
// The RIFF size field (file length - 8) is 32 bits wide.
constexpr uint64_t kMaxFileSize = uint64_t{0xFFFFFFFF} + 8;
// The change map holds at most a week of seconds; even the slowest format (1000 bytes a
// second) runs out of RIFF space before that, so this only stops absurd tempo lists early
// and keeps the frame arithmetic far from overflow.
constexpr double kMaxSongSeconds = 7 * 24 * 3600;

Result CheckFormat(const CProjectData& d) {
    if (d.channels != 1 && d.channels != 2)
        return Result::Fail("unsupported channel count " + std::to_string(d.channels) +
                            " (1 or 2)");
    if (d.samplesPerSec < kMinRate || d.samplesPerSec > kMaxRate)
        return Result::Fail("unsupported sampling rate " + std::to_string(d.samplesPerSec) +
                            " Hz (1000 to 384000)");
    const int b = d.bitsPerSample;
    if (b != 8 && b != 16 && b != 24 && b != 32 && b != 64)
        return Result::Fail("unsupported sample width " + std::to_string(b) +
                            " bits (8, 16, 24, 32 or 64)");
    return Result::Ok();
}

int64_t SilenceFrames(int32_t milliseconds, int32_t rate) {
    return int64_t{std::max(milliseconds, 0)} * rate / 1000;
}

// Frame of the data (leading silence included) at which song tick `tick` sounds.
double LoopFrame(const CProject& project, int32_t tick, int32_t rate) {
    const double lead = std::max(project.data.startDummy, 0) / 1000.0;
    return std::trunc((lead + project.data.tempos.SecondsAt(tick)) * rate);
}

void SetLoop(const CProject& project, BuildLayout& layout) {
    if (!project.data.loopEnabled)
        return;
    const int32_t rate = project.data.samplesPerSec;
    const double start = LoopFrame(project, project.data.loopStart, rate);
    const double end = LoopFrame(project, project.data.loopEnd, rate) - 1;
    if (!(end >= start) || start < 0 || end > double(UINT32_MAX))
        return;
    layout.hasLoop = true;
    layout.loopStartFrame = uint32_t(start);
    layout.loopEndFrame = uint32_t(end);
}

} // namespace

int32_t BuildLayout::FramesOfSecond(int32_t second) const {
    const int64_t rate = format.samplesPerSec;
    const int64_t left = songFrames - int64_t{second} * rate;
    return int32_t(std::clamp<int64_t>(left, 0, rate));
}

Result MakeBuildLayout(const CProject& project, BuildLayout& layout) {
    const CProjectData& d = project.data;
    if (Result r = CheckFormat(d); !r)
        return r;
    BuildLayout l;
    l.format = WAVE_FORMAT::Pcm(d.channels, uint32_t(d.samplesPerSec), d.bitsPerSample);
    l.lengthSeconds = project.GetLength();
    if (!(l.lengthSeconds >= 0) || l.lengthSeconds > kMaxSongSeconds)
        return Result::Fail("the song is too long for a WAV file");
    l.secondCount = int32_t(std::ceil(l.lengthSeconds));
    l.leadFrames = SilenceFrames(d.startDummy, d.samplesPerSec);
    l.songFrames = int64_t(std::ceil(double(d.samplesPerSec) * l.lengthSeconds));
    l.tailFrames = SilenceFrames(d.endDummy, d.samplesPerSec);
    l.dataSize = uint64_t(l.leadFrames + l.songFrames + l.tailFrames) * l.BlockSize();
    SetLoop(project, l);
    if (l.FileSize() > kMaxFileSize)
        return Result::Fail("the song is too long for a WAV file in this format (" +
                            std::to_string(l.FileSize()) + " bytes, at most 4 GiB)");
    layout = l;
    return Result::Ok();
}

std::array<uint8_t, BuildLayout::kHeaderSize> MakeWaveHeader(const BuildLayout& layout) {
    // MakeBuildLayout keeps the file within the 32-bit sizes, so the narrowing is exact.
    return MakeWavHeader(layout.format, static_cast<uint32_t>(layout.dataSize),
                         layout.hasLoop ? kSamplerChunkSize : 0);
}

std::array<uint8_t, BuildLayout::kSamplerChunkSize> MakeSamplerChunk(const BuildLayout& layout) {
    return MakeSamplerChunk(layout.loopStartFrame, layout.loopEndFrame);
}

uint64_t ReusableSongBytes(std::span<const uint8_t> head, uint64_t fileSize,
                           const BuildLayout& layout) {
    if (head.size() < BuildLayout::kHeaderSize)
        return 0;
    const auto expected = MakeWaveHeader(layout);
    // Everything but the two size fields must match: same chunk layout, same format.
    if (std::memcmp(&head[0], &expected[0], 4) != 0 || std::memcmp(&head[8], &expected[8], 32) != 0)
        return 0;
    const uint64_t data =
        std::min<uint64_t>(le::Get32(&head[40]), fileSize - BuildLayout::kHeaderSize);
    const uint64_t silence = uint64_t(layout.leadFrames + layout.tailFrames) * layout.BlockSize();
    return data > silence ? data - silence : 0;
}
