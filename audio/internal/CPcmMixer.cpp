#include "audio/internal/CPcmMixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Full scale of an integer sample of `bytes` bytes: values run from -scale to scale - 1.
double ScaleOf(int bytes) {
    return std::ldexp(1.0, 8 * bytes - 1);
}

} // namespace

CPcmMixer::CPcmMixer(const WAVE_FORMAT& format)
    : m_kind(CSampleCodec(format).SampleKind()), m_channels(format.channels),
      m_bytes(format.bitsPerSample / 8) {
}

void CPcmMixer::Add(uint8_t* frame, double value) const noexcept {
    for (int c = 0; c < m_channels; ++c, frame += m_bytes) {
        Write(frame, Read(frame) + value);
    }
}

void CPcmMixer::Blend(uint8_t* frame, const uint8_t* other, double weight) const noexcept {
    for (int c = 0; c < m_channels; ++c, frame += m_bytes) {
        const double below = other ? Read(other + c * m_bytes) : 0.0;
        Write(frame, Read(frame) * weight + below * (1.0 - weight));
    }
}

double CPcmMixer::Read(const uint8_t* p) const noexcept {
    switch (m_kind) {
    case CSampleCodec::Kind::U8:
        return (double(*p) - 128.0) / 128.0;
    case CSampleCodec::Kind::F32: {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    case CSampleCodec::Kind::F64: {
        double v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    default:
        break;
    }
    uint32_t bits = 0;
    for (int i = 0; i < m_bytes; ++i) {
        bits |= uint32_t(p[i]) << (8 * i);
    }
    const int shift = 32 - 8 * m_bytes; // the top byte carries the sign
    return double(static_cast<int32_t>(bits << shift) >> shift) / ScaleOf(m_bytes);
}

void CPcmMixer::Write(uint8_t* p, double value) const noexcept {
    switch (m_kind) {
    case CSampleCodec::Kind::U8:
        *p = uint8_t(std::clamp(std::floor(value * 128.0 + 0.5), -128.0, 127.0) + 128.0);
        return;
    case CSampleCodec::Kind::F32: {
        const auto v = float(std::clamp(value, -1e30, 1e30));
        std::memcpy(p, &v, sizeof v);
        return;
    }
    case CSampleCodec::Kind::F64:
        std::memcpy(p, &value, sizeof value);
        return;
    default:
        break;
    }
    const double scale = ScaleOf(m_bytes);
    const auto n =
        static_cast<int64_t>(std::clamp(std::floor(value * scale + 0.5), -scale, scale - 1));
    for (int i = 0; i < m_bytes; ++i) {
        p[i] = uint8_t(uint64_t(n) >> (8 * i));
    }
}
