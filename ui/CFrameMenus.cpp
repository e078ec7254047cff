#include "ui/CFrameMenus.h"

#include "ui/CFrameActions.h"
#include "ui/CommandIds.h"
#include "ui/bars/CPlayBar.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

QString RecentText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > 60)
        shown = QStringLiteral("…") + shown.right(59);
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown.replace(u'&', QStringLiteral("&&")));
}

} // namespace

CFrameMenus::CFrameMenus(CFrameActions& actions, QMenuBar& menuBar, QWidget* window)
    : QObject(window), m_actions(actions), m_menuBar(menuBar), m_window(window) {
    for (const MENU& menu : menu::kMenuBar)
        Fill(*m_menuBar.addMenu(QCoreApplication::translate("Menus", menu.title)), menu.items);
    m_trackPopup = MakePopup(menu::kTrackPopup);
    m_pianoRollPopup = MakePopup(menu::kPianoRollPopup);
    m_barsPopup = MakePopup(menu::kBarsPopup);
    m_recentPopup = new QMenu(m_window);
    m_fullScreenItems = MakeFullScreenItems();
    m_menuBar.setCornerWidget(m_fullScreenItems, Qt::TopRightCorner);
    m_fullScreenItems->hide();
}

QMenu* CFrameMenus::MakePopup(std::span<const MENU_ITEM> items) {
    auto* menu = new QMenu(m_window);
    Fill(*menu, items);
    return menu;
}

void CFrameMenus::Fill(QMenu& menu, std::span<const MENU_ITEM> items) {
    for (const MENU_ITEM& item : items) {
        switch (item.kind) {
        case MENU_ITEM::Kind::Separator:
            menu.addSeparator();
            break;
        case MENU_ITEM::Kind::SubMenu:
            Fill(*menu.addMenu(CFrameActions::CommandIcon(QString::fromUtf8(item.icon)),
                               QCoreApplication::translate("Menus", item.text)),
                 item.items);
            break;
        case MENU_ITEM::Kind::RecentFiles:
            m_recentHolder = &menu;
            m_recentAnchor = menu.addSeparator();
            break;
        default:
            menu.addAction(m_actions.Action(item.id));
            break;
        }
    }
}

void CFrameMenus::FillBar(QToolBar& bar, std::span<const MENU_ITEM> items) {
    QAction* before = bar.actions().value(0, nullptr);
    for (const MENU_ITEM& item : items) {
        QAction* action = m_actions.Action(item.id);
        switch (item.kind) {
        case MENU_ITEM::Kind::Separator:
            bar.insertSeparator(before);
            break;
        case MENU_ITEM::Kind::Held:
            bar.insertWidget(before, MakeHeldButton(bar, action));
            break;
        case MENU_ITEM::Kind::RecentMenu:
            bar.insertAction(before, action);
            if (auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(action))) {
                button->setMenu(m_recentPopup);
                button->setPopupMode(QToolButton::MenuButtonPopup);
            }
            break;
        default:
            bar.insertAction(before, action);
            break;
        }
    }
}

// A button that follows its action's state but triggers on press and while held, with the
// play bar's timing, not on release, so holding it seeks step by step.
QToolButton* CFrameMenus::MakeHeldButton(QToolBar& bar, QAction* action) const {
    auto* button = new QToolButton(&bar);
    button->setIcon(action->icon());
    button->setToolTip(action->toolTip());
    button->setStatusTip(action->statusTip());
    button->setAutoRaise(true);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(CPlayBar::kRepeatDelayMs);
    button->setAutoRepeatInterval(CPlayBar::kRepeatIntervalMs);
    button->setEnabled(action->isEnabled());
    button->setObjectName(QStringLiteral("repeat%1").arg(action->objectName()));
    connect(action, &QAction::changed, button,
            [button, action] { button->setEnabled(action->isEnabled()); });
    connect(button, &QToolButton::pressed, action, [action] {
        if (action->isEnabled())
            action->trigger();
    });
    connect(&bar, &QToolBar::iconSizeChanged, button, &QToolButton::setIconSize);
    return button;
}

// The recent files stand in the file menu in place of the "最近使ったファイル" item, which
// shows (disabled) only while the list is empty.
void CFrameMenus::SetRecentFiles(const QStringList& paths) {
    for (QAction* entry : m_recentEntries)
        entry->deleteLater();
    m_recentEntries.clear();
    m_recentPopup->clear();
    QAction* placeholder = m_actions.Action(cmd::kRecentFile);
    placeholder->setVisible(paths.isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        auto* entry = new QAction(RecentText(i, paths[i]), m_recentHolder);
        entry->setStatusTip(tr("%1 を開きます。").arg(QDir::toNativeSeparators(paths[i])));
        connect(entry, &QAction::triggered, this, [this, i] { emit recentFileChosen(i); });
        m_recentHolder->insertAction(m_recentAnchor, entry);
        m_recentPopup->addAction(entry);
        m_recentEntries.append(entry);
    }
    if (paths.isEmpty())
        m_recentPopup->addAction(placeholder);
}

QWidget* CFrameMenus::MakeFullScreenItems() {
    auto* holder = new QWidget(&m_menuBar);
    holder->setObjectName("fullScreenItems");
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const MENU_ITEM& item : menu::kFullScreenItems) {
        QAction* action = m_actions.Action(item.id);
        auto* button = new QToolButton(holder);
        button->setText(QString::fromUtf8(item.text));
        button->setAutoRaise(true);
        button->setToolTip(action->toolTip());
        button->setObjectName(QStringLiteral("fullScreenItem%1").arg(item.id));
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        layout->addWidget(button);
    }
    return holder;
}

void CFrameMenus::ShowFullScreenItems(bool show) {
    m_fullScreenItems->setVisible(show);
    m_menuBar.adjustSize();
    m_menuBar.update();
}
