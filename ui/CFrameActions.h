#pragma once
// One QAction per entry of the command table, owned by the frame window: text, keys,
// icon, status-bar prompt and tool tip. Triggering an action reports its identifier.

#include <QHash>
#include <QObject>

class QAction;
class QWidget;

class CFrameActions : public QObject {
    Q_OBJECT
public:
    // The actions' shortcuts apply within `window`.
    explicit CFrameActions(QWidget* window);

    // The action of a command; null for an unknown identifier.
    QAction* Action(int id) const { return m_actions.value(id, nullptr); }
    QList<int> Ids() const { return m_actions.keys(); }

    // The icon of a command: the desktop theme's, else the editor's own picture.
    static QIcon CommandIcon(const QString& name);

signals:
    void triggered(int id);

private:
    QHash<int, QAction*> m_actions;
};
