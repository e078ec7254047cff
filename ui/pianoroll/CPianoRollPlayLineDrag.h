#pragma once
// Dragging the play line: the play start position follows the pointer, snapped to the
// grid, while the pointer is right of the key column.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/CPianoRollDrag.h"

class CPianoRollController;

class CPianoRollPlayLineDrag : public CPianoRollDrag {
public:
    explicit CPianoRollPlayLineDrag(CPianoRollController& controller) : m_c(controller) {}

    void Move(const QPoint& pos) override;
    void Finish(bool) override {}
    bool ScrollsY() const override { return false; }
    bool MovesCaret() const override { return false; }

private:
    CPianoRollController& m_c;
};
