#pragma once
// Selecting by a rubber band: a rectangle in the note area, whole rows from the key
// column, or whole columns of time from the ruler. The band runs from the caret cell of the
// press to the caret cell under the pointer; on release every note whose drawn shape meets
// it is added to the selection.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/CPianoRollDrag.h"

#include <cstdint>

class CPianoRollController;

class CPianoRollSelectDrag : public CPianoRollDrag {
public:
    enum class Kind { kRectangle, kRows, kColumns };

    CPianoRollSelectDrag(CPianoRollController& controller, Kind kind);

    void Start() override;
    void Move(const QPoint& pos) override;
    void Finish(bool moved) override;
    // A band from the key column covers all time and one from the ruler all rows: the
    // pointer resting there must not scroll the other way.
    bool ScrollsX() const override { return m_kind != Kind::kRows; }
    bool ScrollsY() const override { return m_kind != Kind::kColumns; }

    QRect OverlayRect(const CPianoRollGeometry& g) const override;
    void PaintOverlay(QPainter& painter, const CPianoRollGeometry& g) const override;

private:
    struct BAND {
        int32_t fromTick;
        int32_t toTick; // exclusive
        int topRow;
        int bottomRow; // inclusive
    };
    BAND Band(const CPianoRollGeometry& g) const;

    CPianoRollController& m_c;
    Kind m_kind;
    bool m_started = false;
    int32_t m_anchorTick = 0; // caret position + fit at the first movement
    int m_anchorRow = 0;
    QRect m_shown; // the band as last painted
};
