#include "audio/internal/CEncoderInput.h"

#include "audio/internal/CRiffReader.h"
#include "model/LittleEndian.h"
#include "model/WavHeader.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint16_t kExtensible = 0xFFFE;
// The "fmt " bytes that matter: the 16-byte record, the extension size, the extensible
// record's valid bits and channel mask, and the first two bytes of its sub-format.
constexpr uint32_t kFormatBytes = 26;

int16_t Clip(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767));
}

// Full scale ±1 to 16 bits, rounding to nearest; NaN is silence.
int16_t FromFloat(double v) {
    if (std::isnan(v))
        return 0;
    const double scaled = std::nearbyint(std::clamp(v, -2.0, 2.0) * 32768.0);
    return Clip(static_cast<int64_t>(scaled));
}

// Drops `shift` low bits with rounding to nearest.
int16_t Narrow(int64_t v, int shift) {
    return Clip((v + (int64_t{1} << (shift - 1))) >> shift);
}

} // namespace

CEncoderInput::CEncoderInput() = default;
CEncoderInput::~CEncoderInput() = default;

Result CEncoderInput::Open(QIODevice& in) {
    m_riff = std::make_unique<CRiffReader>(in);
    m_dataBytes = m_bytesRead = 0;
    if (!m_riff->ReadFileHeader())
        return Result::Fail("not a RIFF WAVE file");
    bool haveFormat = false;
    RIFF_CHUNK chunk;
    while (m_riff->NextChunk(chunk)) {
        if (chunk.Is("fmt ")) {
            if (Result r = ReadFormat(chunk.size); !r)
                return r;
            haveFormat = true;
        } else if (chunk.Is("data")) {
            if (!haveFormat)
                return Result::Fail("the \"data\" chunk comes before the \"fmt \" chunk");
            // A file cut short still encodes what it holds.
            m_dataBytes = std::min<uint64_t>(chunk.size, uint64_t(m_riff->Remaining()));
            m_dataBytes -= m_dataBytes % m_format.blockAlign;
            return Result::Ok();
        }
        if (!m_riff->SkipToEnd(chunk))
            return Result::Fail("a chunk runs past the end of the file");
    }
    return Result::Fail("the file has no \"fmt \" and \"data\" chunks");
}

Result CEncoderInput::ReadFormat(uint32_t size) {
    uint8_t record[kFormatBytes] = {};
    if (size < 16 || !m_riff->Read(record, std::min(size, kFormatBytes)))
        return Result::Fail("the \"fmt \" chunk is too short");
    m_format = ReadFormatRecord(record);
    uint16_t tag = m_format.formatTag;
    if (tag == kExtensible) {
        if (size < kFormatBytes)
            return Result::Fail("the extensible format record is too short");
        tag = le::Get16(record + 24);
    }
    return CheckFormat(tag);
}

Result CEncoderInput::CheckFormat(uint16_t tag) {
    const uint16_t bits = m_format.bitsPerSample;
    const bool known =
        (tag == WAVE_FORMAT::kPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
        (tag == WAVE_FORMAT::kFloat && (bits == 32 || bits == 64));
    if (!known)
        return Result::Fail("the samples are neither integer PCM of 8 to 32 bits nor float");
    if (m_format.channels < 1 || m_format.channels > 2)
        return Result::Fail("an MP3 file holds one or two channels");
    if (m_format.samplesPerSec == 0)
        return Result::Fail("the format has no sample rate");
    if (m_format.blockAlign != m_format.channels * (bits / 8))
        return Result::Fail("the block alignment does not match the format");
    static constexpr Kind kIntegers[] = {Kind::U8, Kind::S16, Kind::S24, Kind::S32};
    m_kind =
        tag == WAVE_FORMAT::kFloat ? (bits == 32 ? Kind::F32 : Kind::F64) : kIntegers[bits / 8 - 1];
    m_format.formatTag = tag;
    return Result::Ok();
}

int64_t CEncoderInput::Read(int16_t* out, int64_t frames) {
    if (m_riff == nullptr || frames <= 0)
        return 0;
    const uint64_t block = m_format.blockAlign;
    const uint64_t left = m_dataBytes - m_bytesRead;
    const uint64_t bytes = std::min<uint64_t>(uint64_t(frames) * block, left);
    if (bytes == 0)
        return 0;
    m_raw.resize(size_t(bytes));
    if (!m_riff->Read(m_raw.data(), qint64(bytes)))
        return -1;
    m_bytesRead += bytes;
    Convert(m_raw.data(), size_t(bytes / (m_format.bitsPerSample / 8)), out);
    return int64_t(bytes / block);
}

void CEncoderInput::Convert(const uint8_t* in, size_t samples, int16_t* out) const {
    for (size_t i = 0; i < samples; ++i) {
        switch (m_kind) {
        case Kind::U8:
            out[i] = static_cast<int16_t>((int32_t{in[i]} - 128) * 256);
            break;
        case Kind::S16:
            out[i] = static_cast<int16_t>(le::GetSigned(in + 2 * i, 2));
            break;
        case Kind::S24:
            out[i] = Narrow(le::GetSigned(in + 3 * i, 3), 8);
            break;
        case Kind::S32:
            out[i] = Narrow(le::GetSigned(in + 4 * i, 4), 16);
            break;
        case Kind::F32:
            out[i] = FromFloat(le::GetValue<float>(in + 4 * i));
            break;
        case Kind::F64:
            out[i] = FromFloat(le::GetValue<double>(in + 8 * i));
            break;
        }
    }
}
