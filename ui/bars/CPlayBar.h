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
    explicit CPlayBar(QWidget* parent = nullptr);

    CPlaySeekBar* SeekBar() const { return m_seek; }
    CVolumeBar* VolumeBar() const { return m_volume; }

private:
    CPlaySeekBar* m_seek;
    CVolumeBar* m_volume;
};
