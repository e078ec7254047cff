#include "audio/internal/CRiffReader.h"

#include "model/LittleEndian.h"

#include <cstring>

bool RIFF_CHUNK::Is(const char* four) const {
    return std::memcmp(id, four, 4) == 0;
}

bool CRiffReader::ReadFileHeader() {
    uint8_t header[12];
    return Read(header, sizeof header) && std::memcmp(header, "RIFF", 4) == 0 &&
           std::memcmp(header + 8, "WAVE", 4) == 0;
}

bool CRiffReader::NextChunk(RIFF_CHUNK& chunk) {
    uint8_t header[8];
    if (Remaining() < qint64(sizeof header) || !Read(header, sizeof header)) {
        return false;
    }
    std::memcpy(chunk.id, header, 4);
    chunk.size = le::Get32(header + 4);
    chunk.offset = m_in.pos();
    return true;
}

bool CRiffReader::SkipToEnd(const RIFF_CHUNK& chunk) {
    if (!Fits(chunk) || !Seek(chunk.offset + chunk.size)) {
        return false;
    }
    if ((chunk.size & 1) && Remaining() > 0) {
        char pad = 0;
        if (m_in.peek(&pad, 1) == 1 && pad == 0) {
            return Seek(m_in.pos() + 1);
        }
    }
    return true;
}

qint64 CRiffReader::Remaining() const {
    const qint64 left = m_in.size() - m_in.pos();
    return left > 0 ? left : 0;
}

bool CRiffReader::Fits(const RIFF_CHUNK& chunk) const {
    return chunk.offset >= 0 && qint64(chunk.size) <= m_in.size() - chunk.offset;
}

bool CRiffReader::Read(void* dst, qint64 count) {
    return count <= Remaining() && m_in.read(static_cast<char*>(dst), count) == count;
}

bool CRiffReader::Seek(qint64 position) {
    return position >= 0 && position <= m_in.size() && m_in.seek(position);
}
