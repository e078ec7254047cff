#pragma once
// The preview's output format and the conversions to it: 16-bit mono PCM at the project's
// rate, a buffer length from the "PlayBufferSize" setting and the device volume word.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace preview {

inline constexpr int kBuffers = 4;
inline constexpr int kBytesPerFrame = 2;
// The setting may be typed freely. Below 1 ms a buffer could hold no frame at all (and the
// refill cycle would spin without sound); above a second the latency is useless and a
// typo could ask for a huge allocation.
inline constexpr int kMinBufferMs = 1;
inline constexpr int kMaxBufferMs = 1000;

// Frames per buffer: trunc(rate × bufferMs / 1000), with bufferMs kept to the range above
// and at least one frame.
inline int32_t BufferFrames(int32_t rate, int bufferMs) {
    const int64_t ms = std::clamp(bufferMs, kMinBufferMs, kMaxBufferMs);
    const int64_t frames = int64_t{std::max(rate, 0)} * ms / 1000;
    return static_cast<int32_t>(std::max<int64_t>(frames, 1));
}

// floor(x × 32767 + 0.5), clipped to the 16-bit range instead of wrapping around. The clip
// happens before the conversion to an integer, so no value (infinity included) overflows;
// NaN is silence.
inline int16_t ToPcm16(double x) {
    const double n = std::floor(x * 32767 + 0.5);
    if (std::isnan(n))
        return 0;
    return static_cast<int16_t>(std::clamp(n, -32768.0, 32767.0));
}

// An output level kept to 0..1; NaN counts as silence.
inline double ClampVolume(double volume) {
    return volume >= 0.0 ? std::min(volume, 1.0) : 0.0;
}

// The device volume word of a level: trunc(level × 65535) for the left channel in the low
// 16 bits and the same for the right in the high 16 bits.
inline uint32_t VolumeWord(double volume) {
    const auto level = static_cast<uint32_t>(ClampVolume(volume) * 65535.0);
    return (level << 16) | level;
}

} // namespace preview
