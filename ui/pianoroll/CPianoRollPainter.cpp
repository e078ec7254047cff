#include "ui/pianoroll/CPianoRollPainter.h"

#include "common/Options.h"
#include "model/CProject.h"
#include "ui/pianoroll/CPianoRollGeometry.h"
#include "ui/pianoroll/CPianoRollNotePainter.h"
#include "ui/pianoroll/PianoRollColors.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kKeyColumn = CPianoRollGeometry::kKeyColumn;
// Black keys reach this far into the key column; the key face is a little narrower.
constexpr int kBlackKeyWidth = 40;
constexpr int kKeyFaceWidth = 34;

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
    : m_scene(scene), m_g(scene.geometry),
      m_ruler(scene.geometry, scene.project.data, scene.boldFont, scene.mediumFont) {
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
    PaintRulerMarks(painter, clip);
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
    // Measure numbers stay inside their measures: the first measure to visit is the one
    // under the clip's left edge.
    const int32_t fromTick = m_g.TickOfX(std::max(clip.left(), kKeyColumn));
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
    m_ruler.PaintMeasureNumber(painter, measure, m_g.XOfTick(start), m_g.XOfTick(start + length));
}

void CPianoRollPainter::PaintRulerMarks(QPainter& painter, const QRect& clip) const {
    painter.save();
    painter.setClipRect(clip &
                        QRect(kKeyColumn, 0, m_g.Width() - kKeyColumn, m_g.RulerHeight() - 1));
    m_ruler.PaintMarkers(painter);
    m_ruler.PaintLoopMarks(painter, piano_roll_colors::FromBgr(m_scene.options.crNote));
    painter.restore();
}
