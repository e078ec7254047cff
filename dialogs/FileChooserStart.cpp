#include "dialogs/FileChooserStart.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// A relative stored folder has no meaning for a chooser (it would follow the current
// directory), so it counts as missing too.
QString NearestExistingFolder(const QString& folder) {
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return QDir::homePath();
    QString path = QDir::cleanPath(folder);
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QDir::homePath();
        path = parent;
    }
    return path;
}

} // namespace

FILE_CHOOSER_START FileChooserStart(const QString& folder, const QString& fileName) {
    const QFileInfo file(fileName);
    const bool inOwnFolder = !fileName.isEmpty() && file.isAbsolute();
    FILE_CHOOSER_START start;
    start.directory = NearestExistingFolder(inOwnFolder ? file.absolutePath() : folder);
    if (!fileName.isEmpty() && !QFileInfo(QDir(start.directory), file.fileName()).isDir())
        start.fileName = file.fileName();
    return start;
}

QString ChooseFileToOpen(QWidget* parent, const QString& folder, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}
