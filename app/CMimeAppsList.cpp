#include "app/CMimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A key file of a user's desktop is small; a larger one is not this kind of file.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

bool IsGroupLine(const QString& line) {
    return line.startsWith(QLatin1Char('[')) && line.trimmed().endsWith(QLatin1Char(']'));
}

QString KeyOf(const QString& line) {
    const int eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq).trimmed();
}

} // namespace

bool CMimeAppsList::Load(const QString& path) {
    m_lines.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBytes)
        return false;
    m_lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    while (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    return true;
}

bool CMimeAppsList::Save(const QString& path) const {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = (m_lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    return file.write(text) == text.size() && file.commit();
}

int CMimeAppsList::Find(const QString& group, const QString& key, int& groupEnd) const {
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    bool inGroup = false;
    int found = -1;
    groupEnd = -1;
    for (int i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        if (IsGroupLine(line)) {
            inGroup = line.trimmed() == header;
            if (inGroup)
                groupEnd = i + 1;
            continue;
        }
        if (!inGroup)
            continue;
        if (!line.trimmed().isEmpty())
            groupEnd = i + 1;
        if (found < 0 && KeyOf(line) == key)
            found = i;
    }
    return found;
}

QString CMimeAppsList::Value(const QString& group, const QString& key) const {
    int end = 0;
    const int i = Find(group, key, end);
    if (i < 0)
        return {};
    const QString& line = m_lines[i];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void CMimeAppsList::SetValue(const QString& group, const QString& key, const QString& value) {
    int end = 0;
    const QString line = key + QLatin1Char('=') + value;
    const int i = Find(group, key, end);
    if (i >= 0) {
        m_lines[i] = line;
    } else if (end >= 0) {
        m_lines.insert(end, line);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().isEmpty())
            m_lines.append(QString());
        m_lines.append(QLatin1Char('[') + group + QLatin1Char(']'));
        m_lines.append(line);
    }
}

bool CMimeAppsList::RemoveKey(const QString& group, const QString& key) {
    int end = 0;
    const int i = Find(group, key, end);
    if (i < 0)
        return false;
    m_lines.removeAt(i);
    return true;
}
