#include "ui/CRecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

constexpr const char* kSection = "Recent File List";

QString Key(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

CRecentFiles::CRecentFiles(QSettings& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {
    Load();
}

void CRecentFiles::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_entries.removeAll(absolute);
    m_entries.prepend(absolute);
    while (m_entries.size() > kMaxEntries)
        m_entries.removeLast();
    Store();
}

void CRecentFiles::Remove(int index) {
    if (index < 0 || index >= m_entries.size())
        return;
    m_entries.removeAt(index);
    Store();
}

void CRecentFiles::Load() {
    m_settings.beginGroup(kSection);
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = m_settings.value(Key(i)).toString();
        if (!path.isEmpty() && !m_entries.contains(path))
            m_entries.append(path);
    }
    m_settings.endGroup();
}

void CRecentFiles::Store() {
    m_settings.beginGroup(kSection);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < m_entries.size())
            m_settings.setValue(Key(i), m_entries[i]);
        else
            m_settings.remove(Key(i));
    }
    m_settings.endGroup();
    emit changed();
}
