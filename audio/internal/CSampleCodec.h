#pragma once
// The sample layouts a wave-out device accepts and the two operations the backends apply
// to them: the device volume in the stream's own format (what a capture records) and the
// conversion to float frames (what PortAudio plays). Both run inside the device's consumer,
// so they never allocate and never fail.

#include "model/WaveFormat.h"

#include <QString>

#include <cstdint>

class CSampleCodec {
public:
    enum class Kind { U8, S16, S24, S32, F32, F64 };

    // Why a device refuses the format; empty when it is playable: integer PCM of 8, 16, 24
    // or 32 bits or float of 32 or 64 bits, 1 or 2 channels, 1000 to 384000 frames per
    // second, and a block alignment of channels × bytes per sample.
    static QString Check(const WAVE_FORMAT& format);

    // format must have passed Check.
    explicit CSampleCodec(const WAVE_FORMAT& format);

    Kind SampleKind() const { return m_kind; }
    int Channels() const { return m_channels; }

    // Scales frames in place by the volume word (left level in the low 16 bits, right in
    // the high 16 bits; a mono stream uses the left level). 0xFFFF leaves samples unchanged.
    void ApplyVolume(uint8_t* bytes, uint32_t frames, uint32_t volume) const noexcept;

    // Writes frames as floats of full scale ±1 with the volume applied, outChannels per
    // frame (a mono stream is copied to both sides of a stereo output).
    void ToFloat(const uint8_t* bytes, uint32_t frames, uint32_t volume, float* out,
                 int outChannels) const noexcept;

private:
    Kind m_kind = Kind::S16;
    int m_channels = 1;
    int m_bytes = 2; // bytes per sample
};
