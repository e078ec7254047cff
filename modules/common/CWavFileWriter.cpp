#include "modules/common/CWavFileWriter.h"

#include "model/WavHeader.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

std::unique_ptr<CWavFileWriter> CWavFileWriter::Create(const std::string& path, uint16_t formatTag,
                                                       uint16_t channels, uint32_t rate,
                                                       uint16_t bits) {
    if (channels == 0 || rate == 0 || bits == 0 || bits % 8 != 0)
        return nullptr;
    // O_EXCL and O_NOFOLLOW: the name lies in a temporary folder, where a planted file or
    // link must never be written through.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return nullptr;
    WAVE_FORMAT format;
    format.formatTag = formatTag;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.bitsPerSample = bits;
    format.blockAlign = uint16_t(channels * (bits / 8));
    std::unique_ptr<CWavFileWriter> writer(new CWavFileWriter(fd, path, format));
    std::array<uint8_t, kWavHeaderSize> placeholder{};
    if (!writer->WriteAll(placeholder.data(), placeholder.size()))
        return nullptr;
    return writer;
}

CWavFileWriter::CWavFileWriter(int fd, std::string path, const WAVE_FORMAT& format)
    : m_fd(fd), m_path(std::move(path)), m_format(format) {
}

CWavFileWriter::~CWavFileWriter() {
    if (!m_finished)
        Discard();
}

bool CWavFileWriter::Append(const uint8_t* bytes, size_t count) {
    if (m_finished || count > kMaxData - m_dataBytes)
        return false;
    if (!WriteAll(bytes, count))
        return false;
    m_dataBytes += count;
    return true;
}

bool CWavFileWriter::Finish() {
    if (m_finished)
        return false;
    const uint8_t zero = 0;
    if (m_dataBytes % 2 != 0 && !WriteAll(&zero, 1)) {
        Discard();
        return false;
    }
    const auto h = MakeWavHeader(m_format, uint32_t(m_dataBytes));
    const bool ok = ::pwrite(m_fd, h.data(), h.size(), 0) == ssize_t(h.size());
    if (!ok || ::close(m_fd) != 0) {
        m_fd = -1;
        Discard();
        return false;
    }
    m_fd = -1;
    m_finished = true;
    return true;
}

bool CWavFileWriter::WriteAll(const uint8_t* bytes, size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(m_fd, bytes, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        count -= size_t(n);
    }
    return true;
}

void CWavFileWriter::Discard() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    ::unlink(m_path.c_str());
    m_finished = true;
}
