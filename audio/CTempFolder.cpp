#include "audio/CTempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// As many names as four hexadecimal digits give.
constexpr uint32_t kNames = 0x10000;

} // namespace

CTempFolder::~CTempFolder() {
    if (!m_path.isEmpty()) {
        QDir().rmdir(m_path);
        m_path.clear();
    }
}

bool CTempFolder::Create(const QString& name) {
    if (!m_path.isEmpty()) {
        return false;
    }
    const QString temp = QDir::tempPath();
    if (temp.isEmpty() || name.isEmpty()) {
        return false;
    }
    m_path = QDir(temp).filePath(name);
    QDir().mkdir(m_path);
    return QFileInfo(m_path).isDir();
}

QString CTempFolder::GetTempFileName(const QString& prefix) const {
    if (m_path.isEmpty()) {
        return {};
    }
    const QString start = prefix.left(3);
    const uint32_t first = QRandomGenerator::global()->bounded(kNames);
    for (uint32_t i = 0; i < kNames; ++i) {
        const uint32_t unique = (first + i) % kNames;
        const QString name = QDir(m_path).filePath(start + QString::number(unique, 16).toUpper() +
                                                   QStringLiteral(".tmp"));
        const QByteArray native = QFile::encodeName(name);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(native.constData());
            return name;
        }
        if (errno != EEXIST) {
            return {};
        }
    }
    return {};
}
