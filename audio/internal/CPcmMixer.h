#pragma once
// Sample arithmetic on frames in a stream's own format, for what the live player mixes into
// its buffers: metronome clicks added on top, and the crossfade across a jump. Integer
// results are rounded and kept to the format's range; float results are left unclamped,
// as the build leaves them.
//
// Runs on the live player's thread while it fills a buffer: never allocates or fails.

#include "audio/internal/CSampleCodec.h"
#include "model/WaveFormat.h"

#include <cstdint>

class CPcmMixer {
public:
    CPcmMixer() = default;
    // format must have passed CSampleCodec::Check.
    explicit CPcmMixer(const WAVE_FORMAT& format);

    // Adds value (full scale ±1) to every channel of one frame.
    void Add(uint8_t* frame, double value) const noexcept;
    // frame = frame × weight + other × (1 − weight) on every channel; other == nullptr is
    // silence.
    void Blend(uint8_t* frame, const uint8_t* other, double weight) const noexcept;

private:
    double Read(const uint8_t* sample) const noexcept;
    void Write(uint8_t* sample, double value) const noexcept;

    CSampleCodec::Kind m_kind = CSampleCodec::Kind::S16;
    int m_channels = 1;
    int m_bytes = 2; // bytes per sample
};
