#include "model/WavHeader.h"

#include "model/LittleEndian.h"

#include <cstring>

namespace {

// "RIFF", its size, "WAVE", "fmt ", its size: the bytes before the format record.
constexpr size_t kRecordAt = 20;
// "data" and its size: the bytes between the format record and the samples.
constexpr size_t kDataHeadSize = 8;

template <size_t N>
std::array<uint8_t, N> MakeHeader(const WAVE_FORMAT& f, uint32_t dataSize, uint32_t trailingBytes) {
    constexpr uint32_t kRecordSize = N - kRecordAt - kDataHeadSize;
    static_assert(kRecordSize == 16 || kRecordSize == 18);
    const uint64_t riffSize = N - 8 + uint64_t{dataSize} + dataSize % 2 + trailingBytes;
    std::array<uint8_t, N> h{};
    uint8_t* p = h.data();
    std::memcpy(p, "RIFF", 4);
    le::Put32(p + 4, static_cast<uint32_t>(riffSize));
    std::memcpy(p + 8, "WAVEfmt ", 8);
    le::Put32(p + 16, kRecordSize);
    le::Put16(p + 20, f.formatTag);
    le::Put16(p + 22, f.channels);
    le::Put32(p + 24, f.samplesPerSec);
    le::Put32(p + 28, f.samplesPerSec * f.blockAlign);
    le::Put16(p + 32, f.blockAlign);
    le::Put16(p + 34, f.bitsPerSample);
    // An 18-byte record ends in its extra size, which stays 0: nothing follows the record.
    std::memcpy(p + N - kDataHeadSize, "data", 4);
    le::Put32(p + N - 4, dataSize);
    return h;
}

} // namespace

std::array<uint8_t, kWavHeaderSize> MakeWavHeader(const WAVE_FORMAT& format, uint32_t dataSize,
                                                  uint32_t trailingBytes) {
    return MakeHeader<kWavHeaderSize>(format, dataSize, trailingBytes);
}

std::array<uint8_t, kWavHeaderSizeWithExtra> MakeWavHeaderWithExtra(const WAVE_FORMAT& format,
                                                                    uint32_t dataSize) {
    return MakeHeader<kWavHeaderSizeWithExtra>(format, dataSize, 0);
}

std::array<uint8_t, kSamplerChunkSize> MakeSamplerChunk(uint32_t loopStart, uint32_t loopEnd) {
    std::array<uint8_t, kSamplerChunkSize> c{};
    std::memcpy(&c[0], "smpl", 4);
    le::Put32(&c[4], kSamplerChunkSize - 8);
    // manufacturer, product, sample period stay 0; MIDI unity note 60.
    le::Put32(&c[20], 60);
    // pitch fraction, SMPTE format and offset stay 0; one loop; no sampler data.
    le::Put32(&c[36], 1);
    // The loop: cue point 0, type 0 (forward), start, end, fraction 0, play count 0.
    le::Put32(&c[52], loopStart);
    le::Put32(&c[56], loopEnd);
    return c;
}

WAVE_FORMAT ReadFormatRecord(const uint8_t* r) {
    WAVE_FORMAT f;
    f.formatTag = le::Get16(r);
    f.channels = le::Get16(r + 2);
    f.samplesPerSec = le::Get32(r + 4);
    f.avgBytesPerSec = le::Get32(r + 8);
    f.blockAlign = le::Get16(r + 12);
    f.bitsPerSample = le::Get16(r + 14);
    f.extraSize = le::Get16(r + 16);
    return f;
}
