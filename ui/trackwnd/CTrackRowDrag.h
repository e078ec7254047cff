#pragma once
// The drag of a track row in the track window: a press on a row, a move of 5 pixels or
// more in either direction starts the drag, and the row under the pointer is where the
// track would go. Ctrl makes the drop a copy.
//
// Drop rows run from 0 to the row count (after the last row); -1 means none (the pointer
// left the window). A move onto the source row or the row after it changes nothing.

#include <QPoint>

class CTrackRowDrag {
public:
    static constexpr int kThreshold = 5;

    void Press(const QPoint& point, int sourceRow);
    // Moves the pointer; true once the drag has begun.
    bool Move(const QPoint& point);
    void SetDropRow(int row) { m_dropRow = row; }
    void SetCopy(bool copy) { m_copy = copy; }
    void Reset() { *this = CTrackRowDrag(); }

    bool IsPressed() const { return m_pressed; }
    bool IsDragging() const { return m_dragging; }
    bool IsCopy() const { return m_copy; }
    int SourceRow() const { return m_sourceRow; }
    int DropRow() const { return m_dropRow; }

    // Whether releasing now would change the song.
    bool DropChangesSomething() const;
    // The row whose top edge shows the drop marker (the row count: below the last row), or
    // -1 for no marker.
    int MarkerRow() const { return m_dragging && DropChangesSomething() ? m_dropRow : -1; }

    // The drop row under a pointer at `y` (content coordinates): the row there, the row
    // count below the last row, -1 when the pointer is outside the window.
    static int DropRowAt(int y, bool inside, int rowHeight, int rowCount);

private:
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_copy = false;
    QPoint m_pressPoint;
    int m_sourceRow = -1;
    int m_dropRow = -1;
};
