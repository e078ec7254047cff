#pragma once
// A private folder in the user's temporary directory (QDir::tempPath, which honours TMPDIR)
// that hands out unique file names. The folder is removed on destruction when it is empty
// by then; users delete their own files first.

#include <QString>

class CTempFolder {
public:
    CTempFolder() = default;
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // Makes the folder <temp>/name (an existing folder is fine). An object makes one folder
    // at most: a second call fails and leaves the first in place. Fails also when a plain
    // file of that name is in the way; the path stays set in every case but the second call.
    bool Create(const QString& name);

    // A full path inside the folder that does not exist yet: the first three characters of
    // prefix, hexadecimal digits and ".tmp". The name is claimed with an exclusive create
    // and the empty file deleted again, so that the caller can create it. Empty when the
    // folder has no path or every name is taken.
    QString GetTempFileName(const QString& prefix) const;

    // The folder's full path; empty until Create was called.
    const QString& GetPath() const { return m_path; }

private:
    QString m_path;
};
