#pragma once
// The frame window's placement between runs and its full-screen mode. Follows the
// window's normal and maximized rectangles as it is moved and resized, and stores them
// with the maximized and full-screen flags, the track list's width and the piano roll's
// vertical scroll position in the settings section "Window State".
//
// Thread: the user-interface thread only.

#include <QObject>
#include <QRect>

#include <functional>

class QMainWindow;
class QSettings;
class QSplitter;

class CWindowState : public QObject {
    Q_OBJECT
public:
    struct PaneAccess {
        std::function<int()> verticalScroll;
        std::function<void(int)> setVerticalScroll;
    };

    CWindowState(QMainWindow& window, QSplitter& splitter, PaneAccess pianoRoll);

    void Save(QSettings& settings) const;
    // Places and shows the window as it was; damaged values keep the current placement.
    void Restore(QSettings& settings);

    bool IsFullScreen() const;
    void ToggleFullScreen();
    QRect NormalRect() const { return m_normal; }
    QRect MaximizedRect() const { return m_maximizedRect; }
    bool WasMaximized() const { return m_maximized; }

signals:
    void fullScreenChanged(bool fullScreen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnterFullScreen();
    void LeaveFullScreen();
    bool Plausible(const QRect& rect) const;

    QMainWindow& m_window;
    QSplitter& m_splitter;
    PaneAccess m_pianoRoll;
    QRect m_normal;
    QRect m_maximizedRect;
    bool m_maximized = false;
};
