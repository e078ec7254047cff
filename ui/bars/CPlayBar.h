#pragma once
// The play bar ("再生"): play, play from the caret, stop, rewind and fast-forward, the seek
// bar and the volume bar. Rewind and fast-forward repeat while held: once at the press,
// again after 500 ms and then every 100 ms while the pointer stays on the button.

#include <QToolBar>

#include <functional>

class CPlaySeekBar;
class CVolumeBar;
class QAction;

class CPlayBar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kRepeatDelayMs = 500;
    static constexpr int kRepeatIntervalMs = 100;

    CPlayBar(const std::function<QAction*(int)>& action, QWidget* parent = nullptr);

    CPlaySeekBar* SeekBar() const { return m_seek; }
    CVolumeBar* VolumeBar() const { return m_volume; }

private:
    void AddRepeatButton(QAction* action);

    CPlaySeekBar* m_seek;
    CVolumeBar* m_volume;
};
