#include "modules/vbmp3/CSndfileSource.h"

#include "model/LittleEndian.h"

#include <algorithm>

namespace {

// Scratch samples at most, whatever the channel count.
constexpr sf_count_t kScratchSamples = 65536;

template <typename T> void Put(uint8_t*& out, T value) {
    le::PutValue(out, value);
    out += sizeof value;
}

} // namespace

std::unique_ptr<CSndfileSource> CSndfileSource::Open(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return nullptr;
    const bool mpeg = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG;
    if (mpeg || info.channels < 1 || info.samplerate <= 0) {
        sf_close(file);
        return nullptr;
    }
    return std::unique_ptr<CSndfileSource>(new CSndfileSource(file, info));
}

CSndfileSource::CSndfileSource(SNDFILE* file, const SF_INFO& info)
    : m_file(file), m_sourceChannels(info.channels),
      m_block(std::max<sf_count_t>(1, kScratchSamples / info.channels)) {
    switch (info.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_DPCM_8:
        m_kind = Kind::U8;
        break;
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_DWVW_24:
    case SF_FORMAT_ALAC_20:
    case SF_FORMAT_ALAC_24:
        m_kind = Kind::S24;
        break;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_ALAC_32:
    case SF_FORMAT_FLOAT:
        m_kind = Kind::F32; // 32-bit integer is not a width the PCM voice plays
        break;
    case SF_FORMAT_DOUBLE:
        m_kind = Kind::F64;
        break;
    default:
        m_kind = Kind::S16; // 16-bit words and everything compressed
        break;
    }
    static constexpr uint16_t kBits[] = {8, 16, 24, 32, 64};
    m_format.bits = kBits[int(m_kind)];
    m_format.formatTag = m_kind == Kind::F32 || m_kind == Kind::F64 ? 3 : 1;
    m_format.channels = uint16_t(std::min(info.channels, 2));
    m_format.rate = uint32_t(info.samplerate);
    m_format.frames = info.frames >= 0 && info.frames < SF_COUNT_MAX ? info.frames : -1;
}

CSndfileSource::~CSndfileSource() {
    sf_close(m_file);
}

int64_t CSndfileSource::Read(uint8_t* out, int64_t frames) {
    int64_t done = 0;
    while (done < frames) {
        const sf_count_t got = ReadScratch(std::min<sf_count_t>(frames - done, m_block));
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        Convert(got, out + done * m_format.FrameBytes());
        done += got;
    }
    return done;
}

sf_count_t CSndfileSource::ReadScratch(sf_count_t frames) {
    const size_t samples = size_t(frames) * size_t(m_sourceChannels);
    sf_count_t got = 0;
    switch (m_kind) {
    case Kind::U8:
    case Kind::S16:
        m_shorts.resize(samples);
        got = sf_readf_short(m_file, m_shorts.data(), frames);
        break;
    case Kind::S24:
        m_ints.resize(samples);
        got = sf_readf_int(m_file, m_ints.data(), frames);
        break;
    case Kind::F32:
        m_floats.resize(samples);
        got = sf_readf_float(m_file, m_floats.data(), frames);
        break;
    case Kind::F64:
        m_doubles.resize(samples);
        got = sf_readf_double(m_file, m_doubles.data(), frames);
        break;
    }
    if (got == 0 && sf_error(m_file) != SF_ERR_NO_ERROR)
        return -1;
    return got;
}

void CSndfileSource::Convert(sf_count_t frames, uint8_t* out) const {
    const int kept = m_format.channels;
    for (sf_count_t f = 0; f < frames; ++f) {
        const size_t base = size_t(f) * size_t(m_sourceChannels);
        for (int c = 0; c < kept; ++c) {
            const size_t i = base + size_t(c);
            switch (m_kind) {
            case Kind::U8:
                *out++ = uint8_t((m_shorts[i] >> 8) + 128);
                break;
            case Kind::S16:
                Put(out, m_shorts[i]);
                break;
            case Kind::S24:
                le::Put(out, 3, static_cast<uint32_t>(m_ints[i] >> 8));
                out += 3;
                break;
            case Kind::F32:
                Put(out, m_floats[i]);
                break;
            case Kind::F64:
                Put(out, m_doubles[i]);
                break;
            }
        }
    }
}
