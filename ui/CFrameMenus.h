#pragma once
// The menus and tool-bar buttons of the editor window, built from the declarations of
// ui/CommandIds.h over the frame's actions: the menu bar with its sub-menus, the recent
// files (in the file menu and under the standard bar's open button), the pop-up menus of
// the two panes and of the bars, the buttons of the tool bars, and the three menu-bar items
// of the full-screen mode ("_", "□", "x").

#include "ui/commands/MenuItem.h"

#include <QObject>
#include <QStringList>

#include <span>

class CFrameActions;
class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;
class QWidget;

class CFrameMenus : public QObject {
    Q_OBJECT
public:
    CFrameMenus(CFrameActions& actions, QMenuBar& menuBar, QWidget* window);

    QMenu* TrackPopup() const { return m_trackPopup; }
    QMenu* PianoRollPopup() const { return m_pianoRollPopup; }
    QMenu* BarsPopup() const { return m_barsPopup; }

    // Puts the buttons of `items` into `bar`, before the controls it already holds.
    void FillBar(QToolBar& bar, std::span<const MENU_ITEM> items);
    void SetRecentFiles(const QStringList& paths);
    void ShowFullScreenItems(bool show);

signals:
    void recentFileChosen(int index);

private:
    void Fill(QMenu& menu, std::span<const MENU_ITEM> items);
    QMenu* MakePopup(std::span<const MENU_ITEM> items);
    QToolButton* MakeHeldButton(QToolBar& bar, QAction* action) const;
    QWidget* MakeFullScreenItems();

    CFrameActions& m_actions;
    QMenuBar& m_menuBar;
    QWidget* m_window;
    QMenu* m_recentHolder = nullptr;   // the menu the recent files stand in
    QAction* m_recentAnchor = nullptr; // the separator after the recent entries
    QList<QAction*> m_recentEntries;
    QMenu* m_recentPopup = nullptr;
    QMenu* m_trackPopup = nullptr;
    QMenu* m_pianoRollPopup = nullptr;
    QMenu* m_barsPopup = nullptr;
    QWidget* m_fullScreenItems = nullptr;
};
