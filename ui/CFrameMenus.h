#pragma once
// The menus of the editor window, made from the frame's actions: the menu bar, the
// recent-file entries (in the file menu and under the standard bar's open button), the
// pop-up menus of the two panes and of the bars, and the three menu-bar items of the
// full-screen mode ("_", "□", "x").

#include <QObject>
#include <QStringList>

class CFrameActions;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class CFrameMenus : public QObject {
    Q_OBJECT
public:
    CFrameMenus(CFrameActions& actions, QMenuBar& menuBar, QWidget* window);

    QMenu* TrackPopup() const { return m_trackPopup; }
    QMenu* PianoRollPopup() const { return m_pianoRollPopup; }
    QMenu* BarsPopup() const { return m_barsPopup; }
    // The menu under the standard bar's open button.
    QMenu* RecentPopup() const { return m_recentPopup; }

    void SetRecentFiles(const QStringList& paths);
    void ShowFullScreenItems(bool show);

signals:
    void recentFileChosen(int index);

private:
    QMenu* AddMenu(const QString& title, std::initializer_list<int> ids);
    QMenu* MakePopup(std::initializer_list<int> ids);
    void Fill(QMenu* menu, std::initializer_list<int> ids);
    QWidget* MakeFullScreenItems();

    CFrameActions& m_actions;
    QMenuBar& m_menuBar;
    QWidget* m_window;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr; // the separator after the recent entries
    QList<QAction*> m_recentEntries;
    QMenu* m_recentPopup = nullptr;
    QMenu* m_trackPopup = nullptr;
    QMenu* m_pianoRollPopup = nullptr;
    QMenu* m_barsPopup = nullptr;
    QWidget* m_fullScreenItems = nullptr;
};
