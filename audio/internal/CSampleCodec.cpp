#include "audio/internal/CSampleCodec.h"

#include "model/LittleEndian.h"

namespace {

bool KindOf(const WAVE_FORMAT& f, CSampleCodec::Kind& kind) {
    using Kind = CSampleCodec::Kind;
    if (f.formatTag == WAVE_FORMAT::kPcm) {
        switch (f.bitsPerSample) {
        case 8:
            kind = Kind::U8;
            return true;
        case 16:
            kind = Kind::S16;
            return true;
        case 24:
            kind = Kind::S24;
            return true;
        case 32:
            kind = Kind::S32;
            return true;
        default:
            return false;
        }
    }
    if (f.formatTag == WAVE_FORMAT::kFloat) {
        switch (f.bitsPerSample) {
        case 32:
            kind = Kind::F32;
            return true;
        case 64:
            kind = Kind::F64;
            return true;
        default:
            return false;
        }
    }
    return false;
}

// Samples far beyond full scale are clipped by the device anyway; keeping them inside
// float's range makes the narrowing defined.
float NarrowToFloat(double v) {
    constexpr double kLimit = 1e30;
    if (v > kLimit) {
        return float(kLimit);
    }
    if (v < -kLimit) {
        return float(-kLimit);
    }
    return static_cast<float>(v);
}

uint32_t LevelOf(uint32_t volume, int channel) {
    return channel == 0 ? (volume & 0xFFFFu) : (volume >> 16);
}

} // namespace

QString CSampleCodec::Check(const WAVE_FORMAT& f) {
    Kind kind;
    if (!KindOf(f, kind)) {
        return QStringLiteral("unsupported sample format (tag %1, %2 bits)")
            .arg(f.formatTag)
            .arg(f.bitsPerSample);
    }
    if (f.channels < 1 || f.channels > 2) {
        return QStringLiteral("unsupported channel count %1").arg(f.channels);
    }
    if (f.samplesPerSec < 1000 || f.samplesPerSec > 384000) {
        return QStringLiteral("unsupported sample rate %1").arg(f.samplesPerSec);
    }
    if (f.blockAlign != f.channels * f.bitsPerSample / 8) {
        return QStringLiteral("block alignment %1 does not match the format").arg(f.blockAlign);
    }
    return {};
}

CSampleCodec::CSampleCodec(const WAVE_FORMAT& format)
    : m_channels(format.channels), m_bytes(format.bitsPerSample / 8) {
    KindOf(format, m_kind);
}

void CSampleCodec::ApplyVolume(uint8_t* bytes, uint32_t frames, uint32_t volume) const noexcept {
    if (volume == 0xFFFFFFFFu || (m_channels == 1 && (volume & 0xFFFFu) == 0xFFFFu)) {
        return;
    }
    for (uint32_t i = 0; i < frames; ++i) {
        for (int c = 0; c < m_channels; ++c, bytes += m_bytes) {
            const int64_t level = LevelOf(volume, c);
            switch (m_kind) {
            case Kind::U8:
                *bytes = static_cast<uint8_t>((int64_t(*bytes) - 128) * level / 0xFFFF + 128);
                break;
            case Kind::S16:
            case Kind::S24:
            case Kind::S32:
                le::Put(bytes, m_bytes,
                        static_cast<uint32_t>(le::GetSigned(bytes, m_bytes) * level / 0xFFFF));
                break;
            case Kind::F32:
                le::PutValue(bytes, le::GetValue<float>(bytes) * float(level) / 65535.0f);
                break;
            case Kind::F64:
                le::PutValue(bytes, le::GetValue<double>(bytes) * double(level) / 65535.0);
                break;
            }
        }
    }
}

void CSampleCodec::ToFloat(const uint8_t* bytes, uint32_t frames, uint32_t volume, float* out,
                           int outChannels) const noexcept {
    const float gain[2] = {float(LevelOf(volume, 0)) / 65535.0f,
                           float(LevelOf(volume, 1)) / 65535.0f};
    for (uint32_t i = 0; i < frames; ++i) {
        float frame[2] = {0.0f, 0.0f};
        for (int c = 0; c < m_channels; ++c, bytes += m_bytes) {
            float v = 0.0f;
            switch (m_kind) {
            case Kind::U8:
                v = (float(*bytes) - 128.0f) / 128.0f;
                break;
            case Kind::S16:
                v = float(le::GetSigned(bytes, 2)) / 32768.0f;
                break;
            case Kind::S24:
                v = float(le::GetSigned(bytes, 3)) / 8388608.0f;
                break;
            case Kind::S32:
                v = float(le::GetSigned(bytes, 4)) / 2147483648.0f;
                break;
            case Kind::F32:
                v = le::GetValue<float>(bytes);
                break;
            case Kind::F64:
                v = NarrowToFloat(le::GetValue<double>(bytes));
                break;
            }
            frame[c] = v * gain[c];
        }
        if (m_channels == 1) {
            frame[1] = frame[0];
        }
        for (int c = 0; c < outChannels; ++c) {
            *out++ = frame[c < 2 ? c : 1];
        }
    }
}
