#include "ui/bars/CPlaySeekBar.h"

#include "model/CBeats.h"

CPlaySeekBar::CPlaySeekBar(QWidget* parent) : CSeekBar(parent) {
    setObjectName("playSeekBar");
    setAccessibleDescription(
        tr("曲の中の再生位置です。止まっている間は再生を始める位置を表します。"));
    setRange(0, 0);
}

QString CPlaySeekBar::ToolTipText(const QPoint& pos) const {
    if (m_beats == nullptr)
        return {};
    int tick = isSliderDown() ? value() : ValueAt(pos.x());
    if (tick < minimum())
        tick = value();
    return TickText(tick);
}

QString CPlaySeekBar::ValueText() const {
    if (m_beats == nullptr)
        return {};
    return TickText(value());
}

QString CPlaySeekBar::TickText(int tick) const {
    const int32_t measure = std::max(m_beats->TickToMeasure(tick), 0);
    const int32_t offset = tick - m_beats->MeasureToTick(measure);
    return QStringLiteral("%1 %2:%3")
        .arg(m_playing ? tr("位置") : tr("再生開始位置"))
        .arg(measure + 1)
        .arg(offset);
}
