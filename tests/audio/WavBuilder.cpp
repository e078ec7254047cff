#include "WavBuilder.h"

#include <QFile>

namespace {

void Put16(QByteArray& b, uint32_t v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void Put32(QByteArray& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

} // namespace

WavBuilder& WavBuilder::Fmt(const WAVE_FORMAT& f, int chunkSize) {
    QByteArray r;
    Put16(r, f.formatTag);
    Put16(r, f.channels);
    Put32(r, f.samplesPerSec);
    Put32(r, f.avgBytesPerSec);
    Put16(r, f.blockAlign);
    Put16(r, f.bitsPerSample);
    Put16(r, f.extraSize);
    r.resize(chunkSize, '\x5A'); // bytes past the 18-byte record are not zero on purpose
    return Chunk("fmt ", r);
}

WavBuilder& WavBuilder::Data(const std::vector<uint8_t>& bytes, bool pad) {
    return Chunk("data",
                 QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())),
                 pad);
}

WavBuilder& WavBuilder::Smpl(uint32_t loopStart, uint32_t loopEnd, uint32_t loopCount) {
    QByteArray b;
    for (uint32_t v : {0u, 0u, 22676u, 60u, 0u, 0u, 0u, loopCount, 0u}) {
        Put32(b, v);
    }
    for (uint32_t i = 0; i < loopCount; ++i) {
        for (uint32_t v : {i, 0u, loopStart, loopEnd, 0u, 0u}) {
            Put32(b, v);
        }
    }
    return Chunk("smpl", b);
}

WavBuilder& WavBuilder::Chunk(const char* id, const QByteArray& body, bool pad) {
    Header(id, uint32_t(body.size()), body);
    if (pad && (body.size() & 1)) {
        m_chunks.append('\0');
    }
    return *this;
}

WavBuilder& WavBuilder::Header(const char* id, uint32_t size, const QByteArray& body) {
    m_chunks.append(id, 4);
    Put32(m_chunks, size);
    m_chunks.append(body);
    return *this;
}

QByteArray WavBuilder::Bytes() const {
    QByteArray b("RIFF");
    Put32(b, uint32_t(m_chunks.size() + 4));
    b.append("WAVE");
    b.append(m_chunks);
    return b;
}

QString WavBuilder::Save(const QString& path) const {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(Bytes());
    }
    return path;
}

std::vector<uint8_t> Ramp16(int frames, int first) {
    std::vector<uint8_t> b;
    for (int i = 0; i < frames; ++i) {
        const auto v = uint16_t(first + i);
        b.push_back(uint8_t(v & 0xFF));
        b.push_back(uint8_t(v >> 8));
    }
    return b;
}

std::vector<int> Frames16(const std::vector<uint8_t>& bytes) {
    std::vector<int> frames;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        frames.push_back(int16_t(uint16_t(bytes[i] | (bytes[i + 1] << 8))));
    }
    return frames;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> r;
    for (int i = first; i <= last; ++i) {
        r.push_back(i);
    }
    return r;
}
