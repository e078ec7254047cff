#include "ui/CFrameActions.h"

#include "ui/commands/CCommandSet.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QWidget>

// Outside any namespace: the resource initialiser is a global function.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

CFrameActions::CFrameActions(QWidget* window, const std::vector<const COMMAND*>& commands)
    : QObject(window) {
    InitIconResources();
    for (const COMMAND* info : commands) {
        auto* action = new QAction(info->MenuText(), window);
        action->setObjectName(QStringLiteral("command%1").arg(info->id));
        action->setData(info->id);
        action->setShortcuts(info->keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setStatusTip(info->StatusTip());
        action->setToolTip(info->ToolTip());
        if (!info->icon.isEmpty())
            action->setIcon(CommandIcon(info->icon));
        action->setCheckable(info->kind != COMMAND::Kind::Plain);
        window->addAction(action);
        const int id = info->id;
        connect(action, &QAction::triggered, this, [this, id] { emit triggered(id); });
        m_actions.insert(id, action);
    }
}

QIcon CFrameActions::CommandIcon(const QString& name) {
    const QString file = QStringLiteral(":/icons/%1.svg").arg(name);
    if (QFile::exists(file))
        return QIcon(file);
    return QIcon::fromTheme(name);
}
