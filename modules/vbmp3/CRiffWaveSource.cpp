#include "modules/vbmp3/CRiffWaveSource.h"

#include "model/LittleEndian.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint16_t kPcm = 1;
constexpr uint16_t kFloat = 3;
constexpr uint16_t kExtensible = 0xFFFE;
// Bytes of "fmt " that matter: the 16-byte record, the extension size, valid bits, the
// channel mask and the first two bytes of the sub-format.
constexpr uint32_t kFormatBytes = 26;
constexpr int64_t kBlockFrames = 4096;

} // namespace

std::unique_ptr<CRiffWaveSource> CRiffWaveSource::Open(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rbe");
    if (file == nullptr)
        return nullptr;
    std::unique_ptr<CRiffWaveSource> source(new CRiffWaveSource(file));
    if (!source->ReadHeader())
        return nullptr;
    return source;
}

CRiffWaveSource::~CRiffWaveSource() {
    std::fclose(m_file);
}

bool CRiffWaveSource::ReadHeader() {
    uint8_t head[12];
    if (std::fread(head, 1, 12, m_file) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    uint8_t chunk[8];
    while (std::fread(chunk, 1, 8, m_file) == 8) {
        const uint32_t size = le::Get32(chunk + 4);
        if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return false;
            m_dataLeft = size - size % (uint32_t(m_sourceChannels) * m_sourceBits / 8);
            return m_dataLeft > 0;
        }
        long skip = long(size) + long(size & 1);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            uint8_t record[kFormatBytes] = {};
            const uint32_t kept = std::min(size, kFormatBytes);
            if (haveFormat || size < 16 || std::fread(record, 1, kept, m_file) != kept ||
                !TakeFormat(record, size))
                return false;
            haveFormat = true;
            skip -= long(kept);
        }
        if (std::fseek(m_file, skip, SEEK_CUR) != 0)
            return false;
    }
    return false;
}

bool CRiffWaveSource::TakeFormat(const uint8_t* record, uint32_t size) {
    uint16_t tag = le::Get16(record);
    m_sourceChannels = le::Get16(record + 2);
    const uint32_t rate = le::Get32(record + 4);
    const uint16_t blockAlign = le::Get16(record + 12);
    m_sourceBits = le::Get16(record + 14);
    if (tag == kExtensible) {
        if (size < kFormatBytes)
            return false;
        tag = le::Get16(record + 24);
    }
    const uint16_t bits = m_sourceBits;
    const bool known = (tag == kPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
                       (tag == kFloat && (bits == 32 || bits == 64));
    if (!known || m_sourceChannels == 0 || rate == 0 || blockAlign != m_sourceChannels * bits / 8)
        return false;
    m_int32 = tag == kPcm && bits == 32;
    m_format.formatTag = tag == kFloat || m_int32 ? kFloat : kPcm;
    m_format.channels = std::min<uint16_t>(m_sourceChannels, 2);
    m_format.rate = rate;
    m_format.bits = bits;
    m_format.frames = -1;
    return true;
}

int64_t CRiffWaveSource::Read(uint8_t* out, int64_t frames) {
    const size_t sourceFrame = size_t(m_sourceChannels) * m_sourceBits / 8;
    const size_t sample = m_sourceBits / 8;
    const size_t keptBytes = m_format.channels * sample;
    int64_t done = 0;
    while (done < frames && m_dataLeft > 0) {
        const int64_t wanted = std::min<int64_t>(frames - done, kBlockFrames);
        const size_t bytes = size_t(std::min<uint64_t>(uint64_t(wanted) * sourceFrame, m_dataLeft));
        m_raw.resize(bytes);
        const size_t got = std::fread(m_raw.data(), 1, bytes, m_file) / sourceFrame;
        if (got == 0) {
            m_dataLeft = 0; // the file ends before its "data" chunk says
            break;
        }
        m_dataLeft -= got * sourceFrame;
        for (size_t f = 0; f < got; ++f, out += keptBytes) {
            const uint8_t* in = m_raw.data() + f * sourceFrame;
            if (!m_int32) {
                std::memcpy(out, in, keptBytes);
                continue;
            }
            for (size_t c = 0; c < m_format.channels; ++c) {
                const float v = float(le::GetSigned(in + 4 * c, 4)) / 2147483648.0f;
                le::PutValue(out + 4 * c, v);
            }
        }
        done += int64_t(got);
    }
    return done;
}
