#include "ui/PathUtil.h"

#include <QFile>

std::string ToFsPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromFsPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString ReplaceExtension(const QString& path, const QString& extension) {
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    // A leading dot names a hidden file, not an extension.
    if (dot > slash + 1)
        return path.left(dot) + extension;
    return path + extension;
}
