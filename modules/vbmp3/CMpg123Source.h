#pragma once
// Decodes MPEG audio (layers I to III) through libmpg123 into 16-bit samples at the
// stream's own rate and channel count. With the encoder's info tag present, the priming
// and padding samples are dropped, so the length is the one that was encoded.

#include "modules/vbmp3/ISourceDecoder.h"

#include <mpg123.h>

class CMpg123Source : public ISourceDecoder {
public:
    // Null when libmpg123 finds no MPEG audio in the file.
    static std::unique_ptr<CMpg123Source> Open(const std::string& path);
    ~CMpg123Source() override;
    CMpg123Source(const CMpg123Source&) = delete;
    CMpg123Source& operator=(const CMpg123Source&) = delete;

    const SOURCE_FORMAT& Format() const override { return m_format; }
    int64_t Read(uint8_t* out, int64_t frames) override;

private:
    explicit CMpg123Source(mpg123_handle* handle) : m_handle(handle) {}
    bool ReadFormat();

    mpg123_handle* m_handle;
    SOURCE_FORMAT m_format;
    bool m_ended = false;
};
