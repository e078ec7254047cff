#pragma once
// The 18-byte wave format record that WAV files, the sample loader, the build and the
// wave-out devices share. Field order and widths are those of the "fmt " chunk.

#include <cstdint>

struct WAVE_FORMAT {
    uint16_t formatTag = 0; // 1 = integer PCM, 3 = IEEE float
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0; // bytes per frame, all channels
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;

    static constexpr int kRecordSize = 18;
    static constexpr uint16_t kPcm = 1;
    static constexpr uint16_t kFloat = 3;

    // A PCM format with the derived fields filled in.
    static WAVE_FORMAT Pcm(int channels, uint32_t rate, int bits) {
        WAVE_FORMAT f;
        f.formatTag = bits < 25 ? kPcm : kFloat;
        f.channels = static_cast<uint16_t>(channels);
        f.samplesPerSec = rate;
        f.bitsPerSample = static_cast<uint16_t>(bits);
        f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
        f.avgBytesPerSec = f.blockAlign * rate;
        return f;
    }
};
