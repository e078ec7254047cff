#include "ui/pianoroll/CPianoRollGeometry.h"

#include "model/CBeats.h"
#include "ui/NoteSnap.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

constexpr int64_t kMaxTick = std::numeric_limits<int32_t>::max();

int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int32_t ClampTick(int64_t tick) {
    return static_cast<int32_t>(std::clamp<int64_t>(tick, 0, kMaxTick));
}

} // namespace

CPianoRollGeometry::CPianoRollGeometry(const CBeats& beats, const VIEW& view)
    : m_beats(&beats), m_view(view) {
    m_view.zoomX = std::max(m_view.zoomX, 1);
    m_view.zoomY = std::max(m_view.zoomY, 1);
    m_view.firstTick = std::max(m_view.firstTick, 0);
    m_view.firstRow = std::clamp(m_view.firstRow, 0, kRows - 1);
}

int64_t CPianoRollGeometry::XOfTick(int64_t tick) const {
    return kKeyColumn + FloorDiv((tick - m_view.firstTick) * m_view.zoomX, kWholeNote);
}

int32_t CPianoRollGeometry::TickOfX(int64_t x) const {
    return ClampTick(m_view.firstTick + FloorDiv((x - kKeyColumn) * kWholeNote, m_view.zoomX));
}

int CPianoRollGeometry::RowOfY(int y) const {
    const int64_t row = m_view.firstRow + FloorDiv(y - m_view.rulerHeight, m_view.zoomY);
    return static_cast<int>(std::clamp<int64_t>(row, 0, kRows - 1));
}

int CPianoRollGeometry::YOfRow(int row) const {
    return m_view.rulerHeight + (row - m_view.firstRow) * m_view.zoomY;
}

int CPianoRollGeometry::NotesBottom() const {
    return std::min(YOfRow(kRows), m_view.height);
}

CPianoRollGeometry::Area CPianoRollGeometry::AreaOf(int x, int y) const {
    if (y < m_view.rulerHeight)
        return x < kKeyColumn ? Area::kCorner : Area::kRuler;
    return x < kKeyColumn ? Area::kKeys : Area::kNotes;
}

int32_t CPianoRollGeometry::Snap(int32_t tick) const {
    return SnapTick(*m_beats, m_view.fit, tick);
}

int CPianoRollGeometry::PageRows() const {
    return std::max((m_view.height - m_view.rulerHeight) / m_view.zoomY, 0);
}

int CPianoRollGeometry::MaxFirstRow() const {
    return std::max(kRows - PageRows(), 0);
}

int32_t CPianoRollGeometry::PageTicks() const {
    const int64_t wholeNotes = std::max(m_view.width - kKeyColumn, 0) / m_view.zoomX;
    return ClampTick(wholeNotes * kWholeNote);
}

int32_t CPianoRollGeometry::EndVisibleTick() const {
    return TickOfX(m_view.width);
}

bool CPianoRollGeometry::IsTickVisible(int32_t tick) const {
    const int64_t x = XOfTick(tick);
    return tick >= m_view.firstTick && x >= kKeyColumn && x < m_view.width;
}

int64_t CPianoRollGeometry::RangeEnd(int32_t songEnd) const {
    const BEAT& beat = m_beats->AtTick(songEnd);
    const int64_t measure = std::max(beat.MeasureLength(), 1);
    return int64_t{songEnd} + measure + BeatStep(songEnd);
}

int32_t CPianoRollGeometry::BeatStep(int32_t tick) const {
    const BEAT& beat = m_beats->AtTick(tick);
    return beat.baseBeat > 0 ? std::max(kWholeNote / beat.baseBeat, 1) : kWholeNote;
}

int32_t CPianoRollGeometry::MeasureStartOf(int32_t tick) const {
    return m_beats->MeasureToTick(m_beats->TickToMeasure(std::max(tick, 0)));
}

int32_t CPianoRollGeometry::ScrollStart(int32_t tick, bool byMeasure) const {
    tick = std::max(tick, 0);
    const int32_t start = MeasureStartOf(tick);
    if (byMeasure)
        return start;
    const int32_t step = BeatStep(tick);
    return ClampTick(start + int64_t{tick - start} / step * step);
}

int32_t CPianoRollGeometry::LineLeft(int32_t tick, bool byMeasure) const {
    if (tick <= 0)
        return 0;
    return ScrollStart(tick - 1, byMeasure);
}

int32_t CPianoRollGeometry::LineRight(int32_t tick, bool byMeasure) const {
    tick = std::max(tick, 0);
    const int32_t measure = m_beats->TickToMeasure(tick);
    const int32_t nextMeasure = m_beats->MeasureToTick(measure + 1);
    if (byMeasure)
        return std::max(nextMeasure, tick);
    const int64_t next = int64_t{ScrollStart(tick, false)} + BeatStep(tick);
    return ClampTick(std::min<int64_t>(next, std::max(nextMeasure, tick)));
}

int32_t CPianoRollGeometry::PageLeft(int32_t tick) const {
    if (tick <= 0)
        return 0;
    const int64_t length = std::max(m_beats->AtTick(tick - 1).MeasureLength(), 1);
    return ClampTick(int64_t{tick} - length);
}

int32_t CPianoRollGeometry::PageRight(int32_t tick) const {
    const int64_t length = std::max(m_beats->AtTick(tick).MeasureLength(), 1);
    return ClampTick(int64_t{tick} + length);
}

std::optional<int32_t> CPianoRollGeometry::MeasureBoundaryNear(int x) const {
    const int32_t measure = m_beats->TickToMeasure(TickOfX(x));
    for (int32_t m = std::max(measure, 0); m <= measure + 1; ++m) {
        const int32_t start = m_beats->MeasureToTick(m);
        const int64_t lineX = XOfTick(start);
        if (lineX >= kKeyColumn && std::abs(lineX - x) <= kGrabPixels)
            return start;
    }
    return std::nullopt;
}

std::optional<int> CPianoRollGeometry::OctaveBoundaryNear(int y) const {
    const int row = RowOfY(y);
    for (int r = std::max(row - 1, 0); r <= std::min(row + 1, kRows - 1); ++r) {
        const int lineY = YOfRow(r) + m_view.zoomY - 1;
        if (r % 12 == 11 && r >= m_view.firstRow && std::abs(lineY - y) <= kGrabPixels)
            return r;
    }
    return std::nullopt;
}

int CPianoRollGeometry::ZoomYForOctaveDrag(int row, int y) const {
    const int rows = row - m_view.firstRow + 1;
    if (rows <= 0)
        return m_view.zoomY;
    return std::clamp((y - m_view.rulerHeight) / rows, kZoomYDragMin, kZoomYDragMax);
}

std::optional<int> CPianoRollGeometry::ZoomXForMeasureDrag(int32_t boundary, int x) const {
    const int64_t quarters = (int64_t{boundary} - m_view.firstTick) * 4 / kWholeNote;
    if (quarters <= 0)
        return std::nullopt;
    const int64_t zoom = (int64_t{x} - kKeyColumn) * 4 / quarters;
    return static_cast<int>(std::clamp<int64_t>(zoom, kZoomXDragMin, kZoomXDragMax));
}

CPianoRollGeometry::SPAN CPianoRollGeometry::SelectionSpan(int32_t anchorEnd, int32_t caret) const {
    const int64_t fit = std::max(m_view.fit, 1);
    const int64_t from = std::min<int64_t>(int64_t{anchorEnd} - fit, caret);
    const int64_t to = std::max<int64_t>(anchorEnd, int64_t{caret} + fit);
    return {ClampTick(from), ClampTick(to)};
}
