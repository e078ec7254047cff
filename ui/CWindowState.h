#pragma once
// The frame window's placement between runs and its full-screen mode. Follows the
// window's normal and maximized rectangles as it is moved and resized, and stores them
// with the maximized and full-screen flags, the track list's width and the piano roll's
// vertical scroll position in the settings section "Window State".
//
// The track list's width waits until the splitter is wide enough to hold it: a splitter
// that is given a width before the window has its real size shares out the little room it
// has then, and would keep the track list a sliver for good.
//
// Thread: the user-interface thread only.

#include <QObject>
#include <QRect>

#include <functional>
#include <optional>

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

    // `trackWidth` is the track list's width until a stored one is restored.
    CWindowState(QMainWindow& window, QSplitter& splitter, PaneAccess pianoRoll, int trackWidth);

    void Save(QSettings& settings) const;
    // Places and shows the window as it was; damaged values keep the current placement.
    void Restore(QSettings& settings);

    bool IsFullScreen() const;
    void ToggleFullScreen();
    QRect NormalRect() const { return m_normal; }
    QRect MaximizedRect() const { return m_maximizedRect; }
    bool WasMaximized() const { return m_maximized; }
    // The track list's width, or the one it gets as soon as there is room for it.
    int TrackWidth() const;

signals:
    void fullScreenChanged(bool fullScreen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnterFullScreen();
    void LeaveFullScreen();
    bool Plausible(const QRect& rect) const;
    void SetTrackWidth(int width);
    void ApplyTrackWidth();

    QMainWindow& m_window;
    QSplitter& m_splitter;
    PaneAccess m_pianoRoll;
    QRect m_normal;
    QRect m_maximizedRect;
    bool m_maximized = false;
    std::optional<int> m_pendingTrackWidth; // until the splitter can hold it
};
