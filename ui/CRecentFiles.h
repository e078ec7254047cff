#pragma once
// The recent-file list: up to four project paths, newest first, kept in the settings
// section "Recent File List" as "File1" to "File4".

#include <QObject>
#include <QStringList>

class QSettings;

class CRecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 4;

    explicit CRecentFiles(QSettings& settings, QObject* parent = nullptr);

    const QStringList& Entries() const { return m_entries; }
    // Moves the path to the front (adding it when new) and stores the list.
    void Add(const QString& path);
    void Remove(int index);

signals:
    void changed();

private:
    void Load();
    void Store();

    QSettings& m_settings;
    QStringList m_entries;
};
