#include "app/CMp3Export.h"

#include "audio/CEncode.h"

#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kWavSuffixLength = 4;

} // namespace

CMp3Export::CMp3Export(CEncode& encode, int bitRate, const std::atomic<bool>& stop)
    : m_encode(encode), m_bitRate(bitRate), m_stop(stop) {
}

CMp3Export::~CMp3Export() {
    std::error_code ec;
    if (!m_wav.empty())
        fs::remove(m_wav, ec);
    if (!m_mp3.empty())
        fs::remove(m_mp3, ec);
}

Result CMp3Export::Reserve(const std::string& target) {
    const fs::path p(target);
    std::string pattern =
        (p.parent_path() / ("." + p.filename().string() + ".XXXXXX.wav")).string();
    const int fd = mkstemps(pattern.data(), kWavSuffixLength);
    if (fd < 0)
        return Result::Fail(target + ": cannot create the file in its folder");
    ::close(fd);
    m_target = target;
    m_wav = pattern;
    m_mp3 = CEncode::OutputPath(QString::fromStdString(m_wav)).toStdString();
    return Result::Ok();
}

Result CMp3Export::Finish() {
    if (m_bitRate > 0)
        m_encode.SetBitRate(m_bitRate);
    const Result encoded =
        m_encode.Encode(QString::fromStdString(m_wav), [this](double) { return !m_stop.load(); });
    if (m_stop)
        return Result::Fail("cancelled");
    if (!encoded)
        return Result::Fail(m_target + ": " + encoded.message);
    if (std::rename(m_mp3.c_str(), m_target.c_str()) != 0)
        return Result::Fail(m_target + ": cannot be written: " + std::strerror(errno));
    m_mp3.clear();
    return Result::Ok();
}
