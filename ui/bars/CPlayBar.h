#pragma once
// The play bar ("再生"): the seek bar and the volume bar, after the buttons the frame puts
// in front of them (play, play from the caret, stop, and rewind and fast-forward, which
// repeat while held; see menu::kPlayBar).

#include <QToolBar>

class CPlaySeekBar;
class CVolumeBar;

class CPlayBar : public QToolBar {
    Q_OBJECT
public:
    // A held button acts at the press, again after this delay and then at this interval
    // while the pointer stays on it.
    static constexpr int kRepeatDelayMs = 500;
    static constexpr int kRepeatIntervalMs = 100;

    explicit CPlayBar(QWidget* parent = nullptr);

    CPlaySeekBar* SeekBar() const { return m_seek; }
    CVolumeBar* VolumeBar() const { return m_volume; }

private:
    CPlaySeekBar* m_seek;
    CVolumeBar* m_volume;
};
