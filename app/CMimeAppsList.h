#pragma once
// A freedesktop "mimeapps.list" (or any desktop-entry style key file) kept line by line, so
// that groups, keys and comments written by other programs survive a change. Keys are
// matched exactly; values are not unescaped.

#include <QString>
#include <QStringList>

class CMimeAppsList {
public:
    // A missing file reads as empty. False when it exists and cannot be read.
    bool Load(const QString& path);
    // Writes the file atomically, making its folder when needed.
    bool Save(const QString& path) const;

    QString Value(const QString& group, const QString& key) const;
    void SetValue(const QString& group, const QString& key, const QString& value);
    // True when the key was there.
    bool RemoveKey(const QString& group, const QString& key);

private:
    // Index of the key's line, or -1; groupEnd receives the line after the group's last.
    int Find(const QString& group, const QString& key, int& groupEnd) const;

    QStringList m_lines;
};
