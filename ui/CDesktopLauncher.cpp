#include "ui/CDesktopLauncher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

// org.freedesktop.FileManager1.ShowItems selects the file in a new or existing window.
bool ShowItemsOverDBus(const QString& path) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.FileManager1",
                                                       "/org/freedesktop/FileManager1",
                                                       "org.freedesktop.FileManager1", "ShowItems");
    call << QStringList{QUrl::fromLocalFile(path).toString()} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 3000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool CDesktopLauncher::OpenWithDefaultProgram(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool CDesktopLauncher::StartDetached(const QString& program, const QString& argument) {
    if (!QFileInfo(program).isExecutable())
        return false;
    return QProcess::startDetached(program, {argument});
}

bool CDesktopLauncher::ShowInFileManager(const QString& path, bool selectFile) {
    if (selectFile && ShowItemsOverDBus(path))
        return true;
    const QString folder = selectFile ? QFileInfo(path).absolutePath() : path;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}
