#pragma once
// The play bar's seek bar: its range is the song length in ticks. Its tool tip names the
// position under the pointer (or of the thumb while it is dragged) as measure:tick,
// "位置" while the song plays and "再生開始位置" while it is stopped.

#include "ui/widgets/CSeekBar.h"

class CBeats;

class CPlaySeekBar : public CSeekBar {
    Q_OBJECT
public:
    explicit CPlaySeekBar(QWidget* parent = nullptr);

    // The song's signatures for the measure:tick text; must outlive the bar.
    void SetBeats(const CBeats* beats) { m_beats = beats; }
    void SetPlaying(bool playing) { m_playing = playing; }

    QString ToolTipText(const QPoint& pos) const override;
    // The tool tip's text for the thumb's position.
    QString ValueText() const override;

private:
    QString TickText(int tick) const;

    const CBeats* m_beats = nullptr;
    bool m_playing = false;
};
