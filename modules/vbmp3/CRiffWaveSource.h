#pragma once
// A lenient reader of RIFF WAVE files, for those libsndfile refuses over a chunk it finds
// malformed (a "PEAK" or "cue " chunk of a wrong size, say): only "fmt " and "data" are
// read, wherever they stand, and every other chunk is stepped over unread. Integer PCM of
// 8, 16 and 24 bits and float of 32 and 64 bits keep their width, 32-bit integer becomes
// 32-bit float; the first two channels are kept. A "data" chunk longer than the file is
// read as far as the file goes.

#include "modules/vbmp3/ISourceDecoder.h"

#include <cstdio>
#include <vector>

class CRiffWaveSource : public ISourceDecoder {
public:
    // Null when the file is no RIFF WAVE file of such samples.
    static std::unique_ptr<CRiffWaveSource> Open(const std::string& path);
    ~CRiffWaveSource() override;
    CRiffWaveSource(const CRiffWaveSource&) = delete;
    CRiffWaveSource& operator=(const CRiffWaveSource&) = delete;

    const SOURCE_FORMAT& Format() const override { return m_format; }
    int64_t Read(uint8_t* out, int64_t frames) override;

private:
    explicit CRiffWaveSource(std::FILE* file) : m_file(file) {}
    bool ReadHeader();
    bool TakeFormat(const uint8_t* record, uint32_t size);

    std::FILE* m_file;
    SOURCE_FORMAT m_format;
    uint16_t m_sourceBits = 0;
    uint16_t m_sourceChannels = 0;
    bool m_int32 = false;       // 32-bit integer samples, delivered as float
    uint64_t m_dataLeft = 0;    // bytes
    std::vector<uint8_t> m_raw; // one block of source frames
};
