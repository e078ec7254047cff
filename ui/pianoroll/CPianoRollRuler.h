#pragma once
// The texts of the piano roll's ruler: tempo markers in its upper half, volume markers in
// its lower half, and the measure numbers. Every text is drawn whole or not at all, and
// none covers another:
// - a marker's label starts just right of its position; when it would run into the next
//   marker of its row or out of the view, a short tick marks the position instead;
// - a measure number sits in the middle of the visible part of its measure, moved right
//   past the labels and loop marks at the measure's start, and is left out when it no
//   longer fits between the measure's lines.
// The layout depends on the view alone, never on the rectangle being repainted, so strips
// painted on their own match a full repaint.
//
// Thread: the user-interface thread.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CPianoRollGeometry;
class QPainter;
class CProjectData;

class CPianoRollRuler {
public:
    static constexpr int kLoopMarkWidth = 8;

    // Height of a ruler that holds two rows of `medium` labels and a `bold` number with room
    // around them; never less than `minimum` (the height of a scroll bar).
    static int HeightFor(const QFont& bold, const QFont& medium, int minimum);

    CPianoRollRuler(const CPianoRollGeometry& geometry, const CProjectData& data, const QFont& bold,
                    const QFont& medium);

    // The tempo and volume markers; the caller clips to the ruler.
    void PaintMarkers(QPainter& painter) const;
    // The triangles at the loop's start and end, when the loop is on.
    void PaintLoopMarks(QPainter& painter, const QColor& color) const;
    // The number of `measure`, whose lines lie at x0 and x1, where it fits.
    void PaintMeasureNumber(QPainter& painter, int32_t measure, int64_t x0, int64_t x1) const;
    // Where that number goes, in client pixels; nullopt when it does not fit whole.
    std::optional<QRect> MeasureNumberBox(int32_t measure, int64_t x0, int64_t x1) const;

private:
    struct MARKER {
        QRect box; // the label's ink, or the tick at the marker's position
        int row;   // 0 tempo (upper half), 1 volume (lower half)
        QString text;
        bool labelled;
    };

    template <class List, class Text> void AddMarkers(const List& list, int row, Text text);
    void AddLoopMarks(const CProjectData& data);
    int Baseline(int row) const;
    QRect RowRect(int row) const;

    const CPianoRollGeometry& m_g;
    QFont m_bold;
    QFont m_medium;
    QRect m_mediumInk; // ink of the label characters around their baseline
    QRect m_boldInk;   // ink of the digits around their baseline
    std::vector<MARKER> m_markers;
    std::vector<QRect> m_obstacles; // labels, ticks and loop marks, by their left edge
    std::optional<int> m_loopStart; // x of the loop's lines while the loop is on
    std::optional<int> m_loopEnd;
};
