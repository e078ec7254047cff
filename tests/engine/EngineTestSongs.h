#pragma once
// Small songs and sounds for the engine tests.

#include "model/CProject.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace testsong {

inline CNote Note(int32_t position, int32_t length, int32_t key, int32_t keyoff = 0,
                  int32_t volume = 255) {
    CNote n;
    n.position = position;
    n.length = length;
    n.key = key;
    n.keyoff = keyoff;
    n.volume = volume;
    return n;
}

inline CNote Glide(CNote n, int32_t start, int32_t length, int32_t level) {
    n.portamentoStart = start;
    n.portamentoLength = length;
    n.portamentoLevel = level;
    return n;
}

// Room for the tracks a test adds, so references to earlier ones stay valid.
constexpr size_t kMaxTracks = 16;

// A project with no tracks, full master volume and no click reduction, so that a note's
// sample is its source value times its gains.
inline CProject Bare(int32_t rate, int32_t channels = 1) {
    CProject p;
    p.tracks.reserve(kMaxTracks);
    p.data.samplesPerSec = rate;
    p.data.channels = channels;
    p.data.volumes.Assign({{0, 255}});
    p.data.reductionPuchiNoise = 0;
    return p;
}

inline CTrack& AddTrack(CProject& p, int32_t waveform, int32_t volume = 255) {
    if (p.tracks.size() >= p.tracks.capacity())
        throw std::logic_error("AddTrack: more tracks than Bare reserved");
    CTrack& t = p.tracks.emplace_back();
    t.settings.waveform = waveform;
    t.settings.volume = volume;
    return t;
}

inline void SetFormat(CPCM& pcm, int channels, int rate, int bits) {
    pcm.sampleFormat = WAVE_FORMAT::Pcm(channels, static_cast<uint32_t>(rate), bits);
}

inline void PutLittleEndian(std::vector<uint8_t>& data, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        data.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// 16-bit samples.
inline void SetPcm16(CPCM& pcm, const std::vector<int16_t>& samples, int channels, int rate) {
    pcm.sampleData.clear();
    for (int16_t s : samples)
        PutLittleEndian(pcm.sampleData, static_cast<uint16_t>(s), 2);
    SetFormat(pcm, channels, rate, 16);
}

// 24-bit samples.
inline void SetPcm24(CPCM& pcm, const std::vector<int32_t>& samples, int channels, int rate) {
    pcm.sampleData.clear();
    for (int32_t s : samples)
        PutLittleEndian(pcm.sampleData, static_cast<uint32_t>(s), 3);
    SetFormat(pcm, channels, rate, 24);
}

// 32-bit float samples.
inline void SetPcmFloat(CPCM& pcm, const std::vector<float>& samples, int channels, int rate) {
    pcm.sampleData.clear();
    for (float s : samples) {
        uint32_t bits;
        std::memcpy(&bits, &s, 4);
        PutLittleEndian(pcm.sampleData, bits, 4);
    }
    SetFormat(pcm, channels, rate, 32);
}

// A mono 16-bit sine of `cycles` cycles over `frames` frames.
inline void SetPcmSine(CPCM& pcm, int frames, double cycles, int rate) {
    std::vector<int16_t> s;
    for (int i = 0; i < frames; ++i)
        s.push_back(static_cast<int16_t>(
            std::lround(20000 * std::sin(6.283185307179586 * cycles * i / frames))));
    SetPcm16(pcm, s, 1, rate);
}

} // namespace testsong
