#include "audio/internal/CCaptureFile.h"

#include "audio/internal/CCaptureNames.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr long kRiffSizeAt = 4;
constexpr long kDataSizeAt = 42; // 12 (RIFF) + 8 + 18 (fmt) + 4 ("data")
constexpr uint32_t kHeaderBytes = 46;

void Put16(uint8_t*& p, uint32_t v) {
    *p++ = uint8_t(v);
    *p++ = uint8_t(v >> 8);
}

void Put32(uint8_t*& p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p, v >> 16);
}

void PutId(uint8_t*& p, const char* id) {
    for (int i = 0; i < 4; ++i) {
        *p++ = uint8_t(id[i]);
    }
}

bool WriteHeader(std::FILE* file, const WAVE_FORMAT& f) {
    uint8_t header[kHeaderBytes];
    uint8_t* p = header;
    PutId(p, "RIFF");
    Put32(p, kHeaderBytes - 8);
    PutId(p, "WAVE");
    PutId(p, "fmt ");
    Put32(p, WAVE_FORMAT::kRecordSize);
    Put16(p, f.formatTag);
    Put16(p, f.channels);
    Put32(p, f.samplesPerSec);
    Put32(p, f.samplesPerSec * f.blockAlign);
    Put16(p, f.blockAlign);
    Put16(p, f.bitsPerSample);
    Put16(p, 0);
    PutId(p, "data");
    Put32(p, 0);
    return std::fwrite(header, 1, sizeof header, file) == sizeof header && std::fflush(file) == 0;
}

} // namespace

CCaptureFile::CCaptureFile(std::string base, std::string path, std::FILE* file)
    : m_base(std::move(base)), m_path(std::move(path)), m_file(file) {
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
    if (!WriteHeader(file, format)) {
        std::fclose(file);
        names.Release(base, name);
        error = QStringLiteral("cannot write the capture file %1").arg(shown);
        return nullptr;
    }
    return std::unique_ptr<CCaptureFile>(new CCaptureFile(std::move(base), std::move(name), file));
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
    uint8_t field[4];
    const uint32_t padded = m_dataBytes + (m_dataBytes & 1);
    uint8_t* p = field;
    Put32(p, kHeaderBytes - 8 + padded);
    bool ok =
        std::fseek(m_file, kRiffSizeAt, SEEK_SET) == 0 && std::fwrite(field, 1, 4, m_file) == 4;
    p = field;
    Put32(p, m_dataBytes);
    ok = ok && std::fseek(m_file, kDataSizeAt, SEEK_SET) == 0 &&
         std::fwrite(field, 1, 4, m_file) == 4;
    if (m_dataBytes & 1) {
        const uint8_t pad = 0;
        ok = ok && std::fseek(m_file, long(kHeaderBytes + m_dataBytes), SEEK_SET) == 0 &&
             std::fwrite(&pad, 1, 1, m_file) == 1;
    }
    return ok && std::fflush(m_file) == 0;
}
