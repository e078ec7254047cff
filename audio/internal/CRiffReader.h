#pragma once
// Reads the chunk structure of a RIFF "WAVE" file from a random-access device (a file or a
// memory buffer). Every read is checked against the real end of the data, so a size field
// can never make a caller read, skip or allocate beyond what the file holds.

#include <QIODevice>

#include <cstdint>

struct RIFF_CHUNK {
    char id[4] = {};
    uint32_t size = 0; // as the chunk header states it
    qint64 offset = 0; // where the chunk's contents start

    bool Is(const char* four) const;
};

class CRiffReader {
public:
    explicit CRiffReader(QIODevice& in) : m_in(in) {}

    // Reads "RIFF", a size (ignored: writers often get it wrong) and "WAVE".
    bool ReadFileHeader();
    // Reads the next chunk header; false when fewer than 8 bytes are left.
    bool NextChunk(RIFF_CHUNK& chunk);
    // Moves to the end of a chunk read by NextChunk: false when the chunk runs past the end
    // of the data. Also steps over the pad byte of an odd-sized chunk when the writer put
    // one there (a zero byte; chunk ids never start with one).
    bool SkipToEnd(const RIFF_CHUNK& chunk);

    // Bytes between the read position and the end of the data.
    qint64 Remaining() const;
    // Whether a chunk's stated contents lie wholly inside the data.
    bool Fits(const RIFF_CHUNK& chunk) const;
    bool Read(void* dst, qint64 count);
    bool Seek(qint64 position);

private:
    QIODevice& m_in;
};
