#pragma once
// Moving notes: the clicked note alone when it is the only one selected (or was just
// entered), else every selected note together. Ctrl at the press leaves unselected copies
// at the old places. Several notes stop together at tick 0 and at rows 0 and 95, keeping
// their places relative to each other. A press without movement is a click: it reduces
// the selection to the note, or with Ctrl toggles it.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/CPianoRollDrag.h"

#include <cstdint>
#include <vector>

class CNote;
class CPianoRollController;

class CPianoRollMoveDrag : public CPianoRollDrag {
public:
    struct PRESS {
        int index = -1;                 // dragged note's place in the selection; -1: all selected
        bool added = false;             // the note was entered by this press
        bool ctrl = false;              // Ctrl was held at the press
        const CNote* clicked = nullptr; // the note under the pointer (not for added notes)
        bool clickedWasSelected = false;
    };

    CPianoRollMoveDrag(CPianoRollController& controller, const PRESS& press);

    void Start() override;
    void Move(const QPoint& pos) override;
    void Finish(bool moved) override;

private:
    std::vector<size_t> Moving() const;
    const CNote* Reference() const;
    QRect Bounds() const;
    void Shift(int32_t ticks, int rows);
    void FinishClick();

    CPianoRollController& m_c;
    PRESS m_press;
    int32_t m_positionOffset = 0;
    int m_rowOffset = 0;
    // Over the moving notes: the earliest position and the highest and lowest rows.
    int32_t m_minPosition = 0;
    int m_minRow = 0;
    int m_maxRow = 0;
};
