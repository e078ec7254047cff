#pragma once
// The piano roll's coordinate mapper: every tick <-> pixel and row <-> pixel conversion,
// snapping, the hot zones of the ruler and the key column, the zoom drags and the scroll
// steps. A plain value rebuilt from the view state whenever it is needed, so the widget,
// the gestures and the painters all measure with one ruler.
//
// Pixels are client pixels of the pane. x of tick t = 64 + (t - first visible tick) ×
// zoomX / 1920 and y of row r = ruler height + (r - first visible row) × zoomY; both are
// floored, so a position left of or above the view maps consistently. Ticks and x values
// that can lie far outside the view are 64-bit.
//
// Thread: any; the beat list it refers to must outlive it.

#include <cstdint>
#include <optional>

class CBeats;

class CPianoRollGeometry {
public:
    static constexpr int kKeyColumn = 64;
    static constexpr int kRows = 96;
    static constexpr int32_t kWholeNote = 1920;
    // Limits of the zoom drags; the options dialog allows more.
    static constexpr int kZoomXDragMin = 16;
    static constexpr int kZoomXDragMax = 2048;
    static constexpr int kZoomYDragMin = 4;
    static constexpr int kZoomYDragMax = 32;
    // How close the pointer must come to a line (boundary, play line) to grab it.
    static constexpr int kGrabPixels = 3;
    // The last pixels of a note that start a length drag.
    static constexpr int kRightEdgePixels = 6;
    // A drag does nothing until the pointer moved this far on one axis.
    static constexpr int kDragThreshold = 5;

    struct VIEW {
        int zoomX = 192;       // pixels per whole note
        int zoomY = 12;        // pixels per row
        int32_t firstTick = 0; // horizontal scroll position
        int firstRow = 0;      // vertical scroll position
        int rulerHeight = 17;
        int width = 0; // client size
        int height = 0;
        int32_t fit = 240; // snapping unit in ticks
    };

    enum class Area { kCorner, kRuler, kKeys, kNotes };

    CPianoRollGeometry(const CBeats& beats, const VIEW& view);

    const VIEW& View() const { return m_view; }
    const CBeats& Beats() const { return *m_beats; }
    int ZoomX() const { return m_view.zoomX; }
    int ZoomY() const { return m_view.zoomY; }
    int RulerHeight() const { return m_view.rulerHeight; }
    int Width() const { return m_view.width; }
    int Height() const { return m_view.height; }
    int32_t FirstTick() const { return m_view.firstTick; }
    int FirstRow() const { return m_view.firstRow; }

    int64_t XOfTick(int64_t tick) const;
    // Never below 0.
    int32_t TickOfX(int64_t x) const;
    // Clamped to 0..95.
    int RowOfY(int y) const;
    // Top of a row (it may lie outside the client area).
    int YOfRow(int row) const;
    // Bottom of the note area: the end of row 95 or of the client area.
    int NotesBottom() const;
    Area AreaOf(int x, int y) const;

    // Largest grid point of the measure that holds the tick, not after it.
    int32_t Snap(int32_t tick) const;

    // Rows that fit into the note area; the first visible row never exceeds 96 - this.
    int PageRows() const;
    int MaxFirstRow() const;
    // Whole notes that fit into the note area's width, in ticks.
    int32_t PageTicks() const;
    // First tick right of the client area.
    int32_t EndVisibleTick() const;
    bool IsTickVisible(int32_t tick) const;
    // Upper end of the horizontal range: the song's end plus one measure plus one beat of
    // the signature in force there.
    int64_t RangeEnd(int32_t songEnd) const;

    // Horizontal scroll steps. byMeasure follows "ScrollMeasure": lines go to the previous
    // or next measure start, or beat by beat (1920 / denominator of the signature in force).
    int32_t LineLeft(int32_t tick, bool byMeasure) const;
    int32_t LineRight(int32_t tick, bool byMeasure) const;
    // Pages move by one measure.
    int32_t PageLeft(int32_t tick) const;
    int32_t PageRight(int32_t tick) const;
    // The measure or beat start that contains the tick: where a thumb drag settles and
    // where the view starts when it scrolls to show the tick.
    int32_t ScrollStart(int32_t tick, bool byMeasure) const;

    // The measure start whose boundary line lies within the grab distance of x, if any.
    std::optional<int32_t> MeasureBoundaryNear(int x) const;
    // The C row whose bottom line (the octave boundary) lies within the grab distance of y.
    std::optional<int> OctaveBoundaryNear(int y) const;
    // New zoom of an octave-boundary drag holding the line below `row` at y.
    int ZoomYForOctaveDrag(int row, int y) const;
    // New zoom of a measure-boundary drag holding the line at `boundary` at x; nullopt while
    // the boundary is not right of the view start.
    std::optional<int> ZoomXForMeasureDrag(int32_t boundary, int x) const;

    // Tick span covered by a selection drag from the cell that ends at `anchorEnd` (caret
    // position + fit at the press) to the cell that starts at `caret`: [first, second).
    struct SPAN {
        int32_t from;
        int32_t to;
    };
    SPAN SelectionSpan(int32_t anchorEnd, int32_t caret) const;

private:
    int32_t BeatStep(int32_t tick) const;
    int32_t MeasureStartOf(int32_t tick) const;

    const CBeats* m_beats;
    VIEW m_view;
};
