#include "modules/common/CWavFileWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t kHeaderSize = 44;

void Put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

} // namespace

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
    std::unique_ptr<CWavFileWriter> writer(
        new CWavFileWriter(fd, path, FORMAT{formatTag, channels, rate, bits}));
    std::array<uint8_t, kHeaderSize> placeholder{};
    if (!writer->WriteAll(placeholder.data(), placeholder.size()))
        return nullptr;
    return writer;
}

CWavFileWriter::CWavFileWriter(int fd, std::string path, FORMAT format)
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
    const uint16_t block = uint16_t(m_format.channels * (m_format.bits / 8));
    const auto data = uint32_t(m_dataBytes);
    std::array<uint8_t, kHeaderSize> h{};
    std::copy_n("RIFF", 4, h.begin());
    Put32(&h[4], 36 + data + data % 2);
    std::copy_n("WAVEfmt ", 8, h.begin() + 8);
    Put32(&h[16], 16);
    Put16(&h[20], m_format.tag);
    Put16(&h[22], m_format.channels);
    Put32(&h[24], m_format.rate);
    Put32(&h[28], m_format.rate * block);
    Put16(&h[32], block);
    Put16(&h[34], m_format.bits);
    std::copy_n("data", 4, h.begin() + 36);
    Put32(&h[40], data);
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
