#pragma once
// One QAction per described command of the frame window: text, keys, icon, status-bar
// prompt and tool tip, checkable for check and radio items. Triggering an action reports
// its identifier; menus, bars and shortcuts share the actions.

#include <QHash>
#include <QObject>

#include <vector>

struct COMMAND;
class QAction;
class QWidget;

class CFrameActions : public QObject {
    Q_OBJECT
public:
    // The actions' shortcuts apply within `window`.
    CFrameActions(QWidget* window, const std::vector<const COMMAND*>& commands);

    // The action of a command; null for an unknown identifier.
    QAction* Action(int id) const { return m_actions.value(id, nullptr); }
    QList<int> Ids() const { return m_actions.keys(); }

    // The icon of a command: the editor's own picture, else the desktop theme's.
    static QIcon CommandIcon(const QString& name);

signals:
    void triggered(int id);

private:
    QHash<int, QAction*> m_actions;
};
