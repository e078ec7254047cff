#include "modules/vbmp3/CMpg123Source.h"

#include <algorithm>

std::unique_ptr<CMpg123Source> CMpg123Source::Open(const std::string& path) {
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
        return nullptr;
    std::unique_ptr<CMpg123Source> source(new CMpg123Source(handle));
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(handle, path.c_str()) != MPG123_OK || !source->ReadFormat())
        return nullptr;
    return source;
}

CMpg123Source::~CMpg123Source() {
    mpg123_close(m_handle);
    mpg123_delete(m_handle);
}

bool CMpg123Source::ReadFormat() {
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(m_handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        channels < 1 || channels > 2 || encoding != MPG123_ENC_SIGNED_16)
        return false;
    m_format.formatTag = 1;
    m_format.channels = uint16_t(channels);
    m_format.rate = uint32_t(rate);
    m_format.bits = 16;
    m_format.isMpeg = true;
    const off_t length = mpg123_length(m_handle);
    m_format.frames = length >= 0 ? int64_t(length) : -1;
    return true;
}

int64_t CMpg123Source::Read(uint8_t* out, int64_t frames) {
    const size_t frameBytes = m_format.FrameBytes();
    const size_t wanted = size_t(frames) * frameBytes;
    size_t filled = 0;
    while (filled < wanted && !m_ended) {
        size_t done = 0;
        const int r = mpg123_read(m_handle, out + filled, wanted - filled, &done);
        filled += done;
        if (r == MPG123_DONE) {
            m_ended = true;
        } else if (r == MPG123_NEW_FORMAT) {
            // A stream that changes its rate or channels midway cannot be one WAV file.
            const SOURCE_FORMAT before = m_format;
            if (!ReadFormat() || m_format.rate != before.rate ||
                m_format.channels != before.channels)
                return -1;
        } else if (r != MPG123_OK) {
            return -1;
        }
    }
    return int64_t(filled / frameBytes);
}
