#pragma once
// Changing one note's length by dragging its end (Shift, the right-edge zone, or right
// after entering it). The end snaps to the grid and lies at least one fit unit after the
// note's start.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/CPianoRollDrag.h"

class CNote;
class CPianoRollController;

class CPianoRollLengthDrag : public CPianoRollDrag {
public:
    // index: the note's place in the selection; added: it was entered by this press.
    CPianoRollLengthDrag(CPianoRollController& controller, int index, bool added);

    void Start() override;
    void Move(const QPoint& pos) override;
    void Finish(bool moved) override;

private:
    const CNote* Note() const;

    CPianoRollController& m_c;
    int m_index;
    bool m_added;
};
