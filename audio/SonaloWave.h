#pragma once
// What the player keeps of a WAV file: its format, its sampler record and the sample data
// left after the head and tail cuts.

#include "model/WaveFormat.h"

#include <QtGlobal>

#include <cstdint>
#include <vector>

// The first 36 bytes of a "smpl" chunk and its first loop record, in file order. Loop start
// and end count frames from the start of the kept data; the end frame is the last frame
// inside the loop.
struct SAMPLER {
    uint32_t manufacturer = 0;
    uint32_t product = 0;
    uint32_t samplePeriod = 0;
    uint32_t midiUnityNote = 0;
    uint32_t midiPitchFraction = 0;
    uint32_t smpteFormat = 0;
    uint32_t smpteOffset = 0;
    uint32_t loopCount = 0; // non-zero: the file has a loop
    uint32_t samplerDataSize = 0;
    uint32_t cuePointId = 0;
    uint32_t loopType = 0;
    uint32_t loopStart = 0;
    uint32_t loopEnd = 0;
    uint32_t loopFraction = 0;
    uint32_t loopPlayCount = 0;
};

struct SONALO_WAVE {
    WAVE_FORMAT format;
    SAMPLER sampler;
    std::vector<uint8_t> data; // at least one whole frame
    qint64 dataOffset = 0;     // where data[0] lies in the file (after the head cut)
};
