#pragma once
// Decodes what libsndfile reads, keeping the source's sample width where the PCM voice
// plays it and the first two channels of a wider source.

#include "modules/vbmp3/ISourceDecoder.h"

#include <sndfile.h>

#include <vector>

class CSndfileSource : public ISourceDecoder {
public:
    // Null when libsndfile cannot open the file or it is MPEG audio (libmpg123's work).
    static std::unique_ptr<CSndfileSource> Open(const std::string& path);
    ~CSndfileSource() override;
    CSndfileSource(const CSndfileSource&) = delete;
    CSndfileSource& operator=(const CSndfileSource&) = delete;

    const SOURCE_FORMAT& Format() const override { return m_format; }
    int64_t Read(uint8_t* out, int64_t frames) override;

private:
    enum class Kind { U8, S16, S24, F32, F64 };

    CSndfileSource(SNDFILE* file, const SF_INFO& info);
    sf_count_t ReadScratch(sf_count_t frames);
    void Convert(sf_count_t frames, uint8_t* out) const;

    SNDFILE* m_file;
    int m_sourceChannels;
    Kind m_kind = Kind::S16;
    SOURCE_FORMAT m_format;
    sf_count_t m_block; // frames per scratch fill
    std::vector<int16_t> m_shorts;
    std::vector<int32_t> m_ints;
    std::vector<float> m_floats;
    std::vector<double> m_doubles;
};
