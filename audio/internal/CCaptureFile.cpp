#include "audio/internal/CCaptureFile.h"

#include "audio/internal/CCaptureNames.h"
#include "model/WavHeader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr uint32_t kHeaderBytes = kWavHeaderSizeWithExtra;

// The header for dataBytes of samples; a capture holds nothing after its data.
bool WriteHeader(std::FILE* file, const WAVE_FORMAT& format, uint32_t dataBytes) {
    const auto header = MakeWavHeaderWithExtra(format, dataBytes);
    return std::fseek(file, 0, SEEK_SET) == 0 &&
           std::fwrite(header.data(), 1, header.size(), file) == header.size();
}

} // namespace

CCaptureFile::CCaptureFile(std::string base, std::string path, std::FILE* file,
                           const WAVE_FORMAT& format)
    : m_base(std::move(base)), m_path(std::move(path)), m_file(file), m_format(format) {
}

std::unique_ptr<CCaptureFile> CCaptureFile::Create(const QString& path, const WAVE_FORMAT& format,
                                                   QString& error) {
    // Absolute, so that streams opened from different working folders still count as one
    // recording.
    std::string base = QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
    CCaptureNames& names = CCaptureNames::Shared();
    std::string name = names.Claim(base);
    const QString shown = QFile::decodeName(name.c_str());
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) {
        names.Release(base, name);
        error = QStringLiteral("cannot create the capture file %1").arg(shown);
        return nullptr;
    }
    if (!WriteHeader(file, format, 0) || std::fflush(file) != 0) {
        std::fclose(file);
        names.Release(base, name);
        error = QStringLiteral("cannot write the capture file %1").arg(shown);
        return nullptr;
    }
    return std::unique_ptr<CCaptureFile>(
        new CCaptureFile(std::move(base), std::move(name), file, format));
}

CCaptureFile::~CCaptureFile() {
    std::fclose(m_file);
    CCaptureNames::Shared().Release(m_base, m_path);
}

void CCaptureFile::Append(const uint8_t* bytes, size_t count) {
    if (count == 0) {
        return;
    }
    // A RIFF file cannot describe more; a capture that long is cut there.
    const size_t room = size_t(0xFFFFFFFFu - kHeaderBytes - m_dataBytes) & ~size_t(1);
    count = std::min(count, room);
    if (std::fseek(m_file, long(kHeaderBytes + m_dataBytes), SEEK_SET) != 0 ||
        std::fwrite(bytes, 1, count, m_file) != count) {
        return;
    }
    m_dataBytes += uint32_t(count);
    WriteSizes();
}

bool CCaptureFile::WriteSizes() {
    // An odd data size needs its pad byte for the file to stay well-formed; it is dropped
    // again by the next append, which writes over it.
    bool ok = WriteHeader(m_file, m_format, m_dataBytes);
    if (m_dataBytes & 1) {
        const uint8_t pad = 0;
        ok = ok && std::fseek(m_file, long(kHeaderBytes + m_dataBytes), SEEK_SET) == 0 &&
             std::fwrite(&pad, 1, 1, m_file) == 1;
    }
    return ok && std::fflush(m_file) == 0;
}
