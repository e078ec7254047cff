#include "app/CFileTypeRegistry.h"

#include "app/CMimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

namespace {

constexpr const char* kDefaults = "Default Applications";
constexpr const char* kAdded = "Added Associations";
constexpr const char* kEntryGroup = "Desktop Entry";
constexpr int kToolTimeoutMs = 10000;

QString Latin(const char* text) {
    return QString::fromLatin1(text);
}

bool WriteText(const QString& path, const QString& text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool RemoveIfThere(const QString& path) {
    return !QFileInfo::exists(path) || QFile::remove(path);
}

// The program named by an Exec value: its first word, quotes and escapes undone.
QString ExecProgram(const QString& exec) {
    const QString text = exec.trimmed();
    if (!text.startsWith(QLatin1Char('"')))
        return text.section(QLatin1Char(' '), 0, 0);
    QString program;
    for (int i = 1; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size())
            program += text[++i];
        else if (text[i] == QLatin1Char('"'))
            break;
        else
            program += text[i];
    }
    return program;
}

// Where a desktop entry of that id lies: the user's folder first, then the system's.
QString FindDesktopEntry(const QString& dataHome, const QString& id) {
    QStringList folders{dataHome};
    const QByteArray dirs = qgetenv("XDG_DATA_DIRS");
    folders += dirs.isEmpty()
                   ? QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")}
                   : QString::fromLocal8Bit(dirs).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : std::as_const(folders)) {
        const QString path = QDir(folder).filePath(QStringLiteral("applications/") + id);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void RunTool(const char* tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(Latin(tool));
    if (program.isEmpty() || !QFileInfo(folder).isDir())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, {folder});
    if (process.waitForStarted() && !process.waitForFinished(kToolTimeoutMs))
        process.kill();
    process.waitForFinished();
}

} // namespace

CFileTypeRegistry::CFileTypeRegistry(QString programPath, QString extension, QString description,
                                     int iconNumber)
    : m_programPath(std::move(programPath)), m_extension(std::move(extension)),
      m_description(std::move(description)), m_iconNumber(iconNumber) {
}

QString CFileTypeRegistry::DataHome() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString CFileTypeRegistry::ConfigHome() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString CFileTypeRegistry::DesktopEntryPath() const {
    return QDir(DataHome()).filePath(QStringLiteral("applications/") + Latin(kDesktopId));
}

QString CFileTypeRegistry::MimePackagePath() const {
    const QString name = Latin(kMimeType).section(QLatin1Char('/'), 1);
    return QDir(DataHome()).filePath(QStringLiteral("mime/packages/") + name + ".xml");
}

QString CFileTypeRegistry::MimeAppsPath() const {
    return QDir(ConfigHome()).filePath(QStringLiteral("mimeapps.list"));
}

QString CFileTypeRegistry::Command() const {
    QString program = m_programPath;
    program.replace(QLatin1Char('%'), QStringLiteral("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = false;
    for (const QChar c : std::as_const(program))
        quote = quote || reserved.contains(c);
    if (quote) {
        QString escaped;
        for (const QChar c : std::as_const(program)) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                escaped += QLatin1Char('\\');
            escaped += c;
        }
        program = QLatin1Char('"') + escaped + QLatin1Char('"');
    }
    return program + QStringLiteral(" %f");
}

QString CFileTypeRegistry::DefaultApplication() const {
    CMimeAppsList list;
    if (!list.Load(MimeAppsPath()))
        return {};
    return list.Value(Latin(kDefaults), Latin(kMimeType)).section(QLatin1Char(';'), 0, 0).trimmed();
}

int CFileTypeRegistry::GetState() const {
    const QString id = DefaultApplication();
    if (id.isEmpty())
        return 0;
    const QString entryPath = FindDesktopEntry(DataHome(), id);
    CMimeAppsList entry;
    if (entryPath.isEmpty() || !entry.Load(entryPath))
        return -1;
    const QString program = ExecProgram(entry.Value(Latin(kEntryGroup), QStringLiteral("Exec")));
    return program.startsWith(m_programPath, Qt::CaseInsensitive) ? 1 : -1;
}

bool CFileTypeRegistry::WriteMimePackage() const {
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<mime-info xmlns=\"http://www.freedesktop.org/standards/"
                                  "shared-mime-info\">\n  <mime-type type=\"") +
                   Latin(kMimeType) + QStringLiteral("\">\n");
    if (!m_description.isEmpty())
        text += QStringLiteral("    <comment>") + m_description.toHtmlEscaped() +
                QStringLiteral("</comment>\n");
    if (m_iconNumber != -1)
        text += QStringLiteral("    <icon name=\"") + Latin(kIconName) + QStringLiteral("\"/>\n");
    text += QStringLiteral("    <glob pattern=\"*") + m_extension.toHtmlEscaped() +
            QStringLiteral("\"/>\n  </mime-type>\n</mime-info>\n");
    return WriteText(MimePackagePath(), text);
}

bool CFileTypeRegistry::WriteDesktopEntry() const {
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\n"
                                        "Name=Tesselaphon Editor\n"
                                        "Comment=Chiptune editor\nExec=") +
                         Command() +
                         QStringLiteral("\nIcon=tesselaphon-editor\nTerminal=false\n"
                                        "Categories=AudioVideo;Audio;Music;\nMimeType=") +
                         Latin(kMimeType) + QStringLiteral(";\n");
    return WriteText(DesktopEntryPath(), text);
}

bool CFileTypeRegistry::Register() const {
    if (!WriteMimePackage() || !WriteDesktopEntry())
        return false;
    CMimeAppsList list;
    if (!list.Load(MimeAppsPath()))
        return false;
    const QString id = Latin(kDesktopId);
    list.SetValue(Latin(kDefaults), Latin(kMimeType), id);
    QStringList added =
        list.Value(Latin(kAdded), Latin(kMimeType)).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    added.removeAll(id);
    added.prepend(id);
    list.SetValue(Latin(kAdded), Latin(kMimeType), added.join(QLatin1Char(';')) + ';');
    return list.Save(MimeAppsPath());
}

// Another program's desktop entry is its own file and stays; only the association to it
// is dropped.
bool CFileTypeRegistry::Remove() const {
    if (GetState() == 0)
        return false;
    CMimeAppsList list;
    if (!list.Load(MimeAppsPath()))
        return false;
    const QString id = Latin(kDesktopId);
    list.RemoveKey(Latin(kDefaults), Latin(kMimeType));
    QStringList added =
        list.Value(Latin(kAdded), Latin(kMimeType)).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    added.removeAll(id);
    if (added.isEmpty())
        list.RemoveKey(Latin(kAdded), Latin(kMimeType));
    else
        list.SetValue(Latin(kAdded), Latin(kMimeType), added.join(QLatin1Char(';')) + ';');
    return list.Save(MimeAppsPath()) && RemoveIfThere(DesktopEntryPath()) &&
           RemoveIfThere(MimePackagePath());
}

void CFileTypeRegistry::NotifyDesktop() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    RunTool("update-mime-database", QDir(dataHome).filePath(QStringLiteral("mime")));
    RunTool("update-desktop-database", QDir(dataHome).filePath(QStringLiteral("applications")));
}
