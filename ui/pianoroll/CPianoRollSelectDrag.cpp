#include "ui/pianoroll/CPianoRollSelectDrag.h"

#include "common/Options.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/pianoroll/CPianoRollController.h"
#include "ui/pianoroll/CPianoRollHitTest.h"
#include "ui/pianoroll/PianoRollCanvas.h"
#include "ui/pianoroll/PianoRollColors.h"

#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

constexpr int kRows = CPianoRollGeometry::kRows;
constexpr int32_t kLastTick = std::numeric_limits<int32_t>::max();
// Far enough outside any view to stand for "all time" or "all rows" in pixels.
constexpr int64_t kFar = int64_t{1} << 40;

int ClampX(int64_t x, const CPianoRollGeometry& g) {
    return static_cast<int>(std::clamp<int64_t>(x, -1, g.Width() + 1));
}

} // namespace

CPianoRollSelectDrag::CPianoRollSelectDrag(CPianoRollController& controller, Kind kind)
    : m_c(controller), m_kind(kind) {
}

void CPianoRollSelectDrag::Start() {
    const CNote caret = m_c.Caret();
    m_anchorTick = static_cast<int32_t>(std::min<int64_t>(
        int64_t{caret.position} + std::max(m_c.Canvas().Geometry().View().fit, 1), kLastTick));
    m_anchorRow = caret.key;
    m_started = true;
}

CPianoRollSelectDrag::BAND CPianoRollSelectDrag::Band(const CPianoRollGeometry& g) const {
    const CNote caret = m_c.Caret();
    const CPianoRollGeometry::SPAN span = g.SelectionSpan(m_anchorTick, caret.position);
    BAND band{span.from, span.to, std::min(m_anchorRow, caret.key),
              std::max(m_anchorRow, caret.key)};
    if (m_kind == Kind::kRows) {
        band.fromTick = 0;
        band.toTick = kLastTick;
    } else if (m_kind == Kind::kColumns) {
        band.topRow = 0;
        band.bottomRow = kRows - 1;
    }
    return band;
}

QRect CPianoRollSelectDrag::OverlayRect(const CPianoRollGeometry& g) const {
    if (!m_started)
        return {};
    const BAND band = Band(g);
    const int left = m_kind == Kind::kRows ? CPianoRollGeometry::kKeyColumn
                                           : ClampX(g.XOfTick(band.fromTick), g);
    const int right = m_kind == Kind::kRows ? g.Width() : ClampX(g.XOfTick(band.toTick), g);
    const int top = std::max(g.YOfRow(band.topRow), g.RulerHeight() - 1);
    const int bottom = std::min(g.YOfRow(band.bottomRow + 1), g.NotesBottom());
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void CPianoRollSelectDrag::PaintOverlay(QPainter& painter, const CPianoRollGeometry& g) const {
    const QRect rect = OverlayRect(g);
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(QRect(CPianoRollGeometry::kKeyColumn, g.RulerHeight(),
                              g.Width() - CPianoRollGeometry::kKeyColumn,
                              g.NotesBottom() - g.RulerHeight()),
                        Qt::IntersectClip);
    QColor fill = piano_roll_colors::FromBgr(m_c.Options().crSelectedNote);
    fill.setAlpha(48);
    painter.fillRect(rect, fill);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

void CPianoRollSelectDrag::Move(const QPoint&) {
    const QRect shown = OverlayRect(m_c.Canvas().Geometry());
    if (shown == m_shown)
        return;
    m_c.Canvas().InvalidateOverlay(m_shown);
    m_c.Canvas().InvalidateOverlay(shown);
    m_shown = shown;
}

void CPianoRollSelectDrag::Finish(bool moved) {
    m_c.Canvas().InvalidateOverlay(m_shown);
    const CTrack* track = m_c.Track();
    if (!moved || track == nullptr)
        return;
    const CPianoRollGeometry g = m_c.Canvas().Geometry();
    const BAND band = Band(g);
    int64_t left = g.XOfTick(band.fromTick);
    int64_t right = g.XOfTick(band.toTick);
    double top = g.YOfRow(band.topRow);
    double bottom = g.YOfRow(band.bottomRow + 1);
    if (m_kind == Kind::kRows) {
        left = -kFar;
        right = kFar;
    } else if (m_kind == Kind::kColumns) {
        top = -static_cast<double>(kFar);
        bottom = static_cast<double>(kFar);
    }
    const CPianoRollHitTest hits(*track, g, m_c.Edit().Project().data.tempos,
                                 m_c.Options().viewPortamento != 0);
    for (const CNote* note :
         hits.NotesMeeting(left, top, right, bottom, band.fromTick, band.toTick))
        if (note->selected == 0)
            m_c.Edit().SelectNote(note, true);
    m_c.Canvas().InvalidateAll();
    m_c.Canvas().SelectionChanged();
}
