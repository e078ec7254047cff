#include "ui/commands/CCommandSet.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

QString Translated(const QString& text) {
    return text.isEmpty() ? text
                          : QCoreApplication::translate("Commands", text.toUtf8().constData());
}

} // namespace

QString COMMAND::ToolTip() const {
    const QString second = prompt.section(u'\n', 1, 1);
    if (!second.isEmpty())
        return second;
    QString text = MenuText();
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$")));
    return text.remove(u'&');
}

void CCommandSet::Add(COMMAND command) {
    Q_ASSERT_X(!Contains(command.id), "CCommandSet::Add", "command registered twice");
    Q_ASSERT_X(bool(command.run), "CCommandSet::Add", "command without a handler");
    if (Contains(command.id) || !command.run)
        return;
    // The tables hold the Japanese source texts; the rest of the program sees them translated.
    command.caption = Translated(command.caption);
    command.prompt = Translated(command.prompt);
    m_index.emplace(command.id, m_commands.size());
    m_commands.push_back(std::move(command));
}

const COMMAND* CCommandSet::Find(int id) const {
    const auto it = m_index.find(id);
    return it == m_index.end() ? nullptr : &m_commands[it->second];
}

std::optional<bool> CCommandSet::Enabled(int id) const {
    const COMMAND* command = Find(id);
    if (command == nullptr)
        return std::nullopt;
    return !command->enabled || command->enabled();
}

bool CCommandSet::Run(int id) {
    const COMMAND* command = Find(id);
    if (command == nullptr)
        return false;
    if (!command->enabled || command->enabled())
        command->run();
    return true;
}

std::optional<bool> CCommandSet::Checked(int id) const {
    const COMMAND* command = Find(id);
    if (command == nullptr || !command->checked)
        return std::nullopt;
    return command->checked();
}
