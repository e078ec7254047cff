#pragma once
// The association of project files with the editor on a freedesktop desktop, all in the
// user's own folders ($XDG_DATA_HOME and $XDG_CONFIG_HOME):
//   - a shared-MIME-info type for "*.tqp" (mime/packages/<type>.xml),
//   - a desktop entry whose Exec is the program path followed by "%f"
//     (applications/<desktop id>),
//   - the type's default application in mimeapps.list.
// The type is associated when mimeapps.list names a default application for it; it is this
// program's when that entry's Exec starts with the program path (letter case ignored).
//
// Thread: any; each call reads and writes the files afresh.

#include <QString>

class CFileTypeRegistry {
public:
    static constexpr const char* kMimeType = "application/x-tesselaphon-project";
    static constexpr const char* kDesktopId = "tesselaphon-editor.desktop";
    static constexpr const char* kIconName = "application-x-tesselaphon-project";

    // extension with its dot (".tqp"); iconNumber −1 writes no icon.
    CFileTypeRegistry(QString programPath, QString extension, QString description, int iconNumber);

    // 0 not associated, 1 associated with this program, −1 with another one.
    int GetState() const;
    // Writes the type, the desktop entry and the default. False at the first file that
    // cannot be written; what was written before stays.
    bool Register() const;
    // Drops the default and this program's type and entry. False when nothing is
    // associated or a file cannot be changed.
    bool Remove() const;
    // Asks the desktop to read the types and entries again (when its tools are installed).
    static void NotifyDesktop();

    QString DataHome() const;
    QString ConfigHome() const;
    QString DesktopEntryPath() const;
    QString MimePackagePath() const;
    QString MimeAppsPath() const;
    // The Exec value: the program path (quoted when it needs it) and "%f".
    QString Command() const;

private:
    QString DefaultApplication() const;
    bool WriteMimePackage() const;
    bool WriteDesktopEntry() const;

    QString m_programPath;
    QString m_extension;
    QString m_description;
    int m_iconNumber;
};
