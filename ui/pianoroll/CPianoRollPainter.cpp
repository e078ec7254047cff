#include "ui/pianoroll/CPianoRollPainter.h"

#include "common/Options.h"
#include "model/CProject.h"
#include "ui/pianoroll/CPianoRollGeometry.h"
#include "ui/pianoroll/CPianoRollNotePainter.h"
#include "ui/pianoroll/PianoRollColors.h"
#include "ui/pianoroll/PianoRollText.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kKeyColumn = CPianoRollGeometry::kKeyColumn;
// Black keys reach this far into the key column; the key face is a little narrower.
constexpr int kBlackKeyWidth = 40;
constexpr int kKeyFaceWidth = 34;
// Room left of a clip rectangle for texts that start there and reach into it.
constexpr int kTextReach = 200;
constexpr int kLoopMarkWidth = 8;

bool IsBlackRow(int row) {
    switch (row % 12) {
    case 1:
    case 3:
    case 5:
    case 8:
    case 10:
        return true;
    default:
        return false;
    }
}

void HLine(QPainter& painter, int x0, int x1, int y, const QColor& color) {
    if (x1 > x0)
        painter.fillRect(x0, y, x1 - x0, 1, color);
}

void VLine(QPainter& painter, int x, int y0, int y1, const QColor& color) {
    if (y1 > y0)
        painter.fillRect(x, y0, 1, y1 - y0, color);
}

int ClampX(int64_t x) {
    return static_cast<int>(std::clamp<int64_t>(x, -0x100000, 0x100000));
}

} // namespace

CPianoRollPainter::CPianoRollPainter(const PIANO_ROLL_SCENE& scene)
    : m_scene(scene), m_g(scene.geometry) {
}

void CPianoRollPainter::Paint(QPainter& painter, const QRect& clip) const {
    painter.save();
    painter.setClipRect(clip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintRuler(painter);
    PaintKeyColumn(painter);
    PaintRows(painter, clip);
    PaintCorner(painter);
    PaintGrid(painter, clip);
    PaintTempoMarkers(painter, clip);
    PaintVolumeMarkers(painter, clip);
    PaintLoopMarks(painter);
    const QRect notes(kKeyColumn, m_g.RulerHeight(), m_g.Width() - kKeyColumn,
                      m_g.NotesBottom() - m_g.RulerHeight());
    CPianoRollNotePainter(m_scene).Paint(painter, clip & notes);
    painter.restore();
}

void CPianoRollPainter::PaintRuler(QPainter& painter) const {
    const int h = m_g.RulerHeight();
    painter.fillRect(0, 0, m_g.Width(), h - 1, kRulerColor);
    HLine(painter, 0, m_g.Width(), h - 1, kMidGrey);
}

void CPianoRollPainter::PaintKeyColumn(QPainter& painter) const {
    const int h = m_g.RulerHeight();
    painter.fillRect(0, h, kKeyColumn, m_g.Height() - h, Qt::white);
    VLine(painter, kKeyColumn - 1, h, m_g.Height(), Qt::black);
}

void CPianoRollPainter::PaintRows(QPainter& painter, const QRect& clip) const {
    const int h = m_g.RulerHeight();
    const int first = std::max(m_g.FirstRow(), m_g.RowOfY(std::max(clip.top(), h)));
    const int last = m_g.RowOfY(clip.bottom());
    for (int row = first; row <= last; ++row) {
        const int y = m_g.YOfRow(row);
        if (y >= m_g.Height())
            break;
        if (IsBlackRow(row))
            PaintBlackRow(painter, y);
        else
            PaintWhiteRow(painter, row, y);
    }
    const int below = m_g.YOfRow(CPianoRollGeometry::kRows);
    if (below < m_g.Height())
        painter.fillRect(0, below, m_g.Width(), m_g.Height() - below, m_scene.workspace);
}

void CPianoRollPainter::PaintBlackRow(QPainter& painter, int y) const {
    const int z = m_g.ZoomY();
    painter.fillRect(0, y, kBlackKeyWidth, z, Qt::black);
    if (z > 2)
        painter.fillRect(1, y + 1, kKeyFaceWidth, z - 2, kKeyFace);
    HLine(painter, kBlackKeyWidth, kKeyColumn, y + z / 2, Qt::black);
    painter.fillRect(kKeyColumn, y, m_g.Width() - kKeyColumn, z, kLightGrey);
}

void CPianoRollPainter::PaintWhiteRow(QPainter& painter, int row, int y) const {
    const int z = m_g.ZoomY();
    const int bottom = y + z;
    painter.fillRect(kKeyColumn, y, m_g.Width() - kKeyColumn, z, Qt::white);
    HLine(painter, kKeyColumn, m_g.Width(), bottom - 1, kLightGrey);
    if (row % 12 == 11) {
        // The line under each C: the octave boundary, across the keys and the notes.
        HLine(painter, 0, kKeyColumn, bottom - 1, Qt::black);
        HLine(painter, kKeyColumn, m_g.Width(), bottom - 1, kMidGrey);
        painter.setFont(m_scene.mediumFont);
        painter.setPen(Qt::black);
        painter.drawText(QRect(kBlackKeyWidth, bottom - 16, kKeyColumn - kBlackKeyWidth, 16),
                         Qt::AlignCenter, QString::number(8 - row / 12));
    } else if (row % 12 == 6) {
        HLine(painter, 0, kKeyColumn, bottom - 1, Qt::black); // between E and F
    }
}

void CPianoRollPainter::PaintCorner(QPainter& painter) const {
    const int h = m_g.RulerHeight();
    painter.fillRect(0, 0, kKeyColumn - 1, h - 1, kRulerColor);
    VLine(painter, kKeyColumn - 1, 0, h, kMidGrey);
}

void CPianoRollPainter::PaintGrid(QPainter& painter, const QRect& clip) const {
    const CBeats& beats = m_g.Beats();
    const int32_t fromTick = m_g.TickOfX(std::max(clip.left(), kKeyColumn) - kTextReach);
    painter.save();
    painter.setClipRect(clip & QRect(kKeyColumn, 0, m_g.Width() - kKeyColumn, m_g.Height()));
    int32_t measure = std::max(beats.TickToMeasure(fromTick), 0);
    int32_t start = beats.MeasureToTick(measure);
    while (m_g.XOfTick(start) <= clip.right()) {
        PaintMeasure(painter, measure, start);
        const int32_t next = beats.MeasureToTick(measure + 1);
        if (next <= start)
            break; // the end of the tick range
        start = next;
        ++measure;
    }
    painter.restore();
}

void CPianoRollPainter::PaintMeasure(QPainter& painter, int32_t measure, int32_t start) const {
    const CBeats& beats = m_g.Beats();
    const BEAT& beat = beats.At(measure);
    const int h = m_g.RulerHeight();
    const int bottom = m_g.NotesBottom();
    const int64_t length = std::max(beat.MeasureLength(), 1);
    const int64_t step = beat.baseBeat > 0 ? std::max(1920 / beat.baseBeat, 1) : length;
    const int x = ClampX(m_g.XOfTick(start));
    VLine(painter, x, 0, bottom, kMidGrey);
    for (int64_t t = step; t < length; t += step)
        VLine(painter, ClampX(m_g.XOfTick(start + t)), h, bottom, kLightGrey);
    // The number sits in the middle of its measure, clear of the markers at its start;
    // where the measure is too narrow it starts just right of the line.
    const QString text = QString::number(int64_t{measure} + 1);
    const QFontMetrics metrics(m_scene.boldFont);
    const int width = metrics.horizontalAdvance(text);
    const int measureWidth = ClampX(m_g.XOfTick(start + length)) - x;
    const int left = measureWidth >= width + 8 ? x + (measureWidth - width) / 2 : x + 3;
    painter.setFont(m_scene.boldFont);
    painter.setPen(Qt::black);
    painter.drawText(QRect(left, 0, width + 2, h - 1), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void CPianoRollPainter::PaintTempoMarkers(QPainter& painter, const QRect& clip) const {
    const int h = m_g.RulerHeight();
    painter.save();
    painter.setClipRect(clip & QRect(kKeyColumn, 0, m_g.Width() - kKeyColumn, h - 1));
    painter.setFont(m_scene.mediumFont);
    painter.setPen(Qt::black);
    for (const TEMPO& tempo : m_scene.project.data.tempos) {
        const int64_t x = m_g.XOfTick(tempo.position);
        if (x < clip.left() - kTextReach || x > clip.right())
            continue;
        painter.drawText(QRect(ClampX(x) + 2, 0, kTextReach, h / 2 + 1),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         piano_roll_text::TempoLabel(tempo.tempo));
    }
    painter.restore();
}

void CPianoRollPainter::PaintVolumeMarkers(QPainter& painter, const QRect& clip) const {
    const int h = m_g.RulerHeight();
    painter.save();
    painter.setClipRect(clip & QRect(kKeyColumn, 0, m_g.Width() - kKeyColumn, h - 1));
    painter.setFont(m_scene.mediumFont);
    painter.setPen(Qt::black);
    for (const VOLUME& volume : m_scene.project.data.volumes) {
        const int64_t x = m_g.XOfTick(volume.position);
        if (x < clip.left() - kTextReach || x > clip.right())
            continue;
        painter.drawText(QRect(ClampX(x) + 2, h / 2, kTextReach, h - 1 - h / 2),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         piano_roll_text::VolumeLabel(volume.volume));
    }
    painter.restore();
}

void CPianoRollPainter::PaintLoopMarks(QPainter& painter) const {
    const CProjectData& data = m_scene.project.data;
    if (data.loopEnabled == 0)
        return;
    const int h = m_g.RulerHeight();
    painter.save();
    painter.setClipRect(painter.clipBoundingRect().toRect() &
                        QRect(kKeyColumn, 0, m_g.Width() - kKeyColumn, h - 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(piano_roll_colors::FromBgr(m_scene.options.crNote));
    const int start = ClampX(m_g.XOfTick(data.loopStart));
    const int end = ClampX(m_g.XOfTick(data.loopEnd));
    const double mid = (h - 1) / 2.0;
    painter.drawPolygon(QPolygonF(
        {QPointF(start, 0), QPointF(start + kLoopMarkWidth, mid), QPointF(start, h - 1)}));
    painter.drawPolygon(QPolygonF(
        {QPointF(end + 1, 0), QPointF(end + 1 - kLoopMarkWidth, mid), QPointF(end + 1, h - 1)}));
    painter.restore();
}
