#pragma once
// Zooming by dragging a boundary: an octave line of the key column sets the row height so
// that the grabbed line follows the pointer (4..32 pixels), a measure line of the ruler sets
// the pixels per whole note likewise (16..2048).
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/CPianoRollDrag.h"

#include <cstdint>

class CPianoRollController;

class CPianoRollZoomDrag : public CPianoRollDrag {
public:
    // An octave-boundary drag holding the line under `row` (a C row).
    static CPianoRollZoomDrag Octave(CPianoRollController& controller, int row);
    // A measure-boundary drag holding the line at tick `boundary`.
    static CPianoRollZoomDrag Measure(CPianoRollController& controller, int32_t boundary);

    void Move(const QPoint& pos) override;
    void Finish(bool) override {}
    bool ScrollsX() const override { return false; }
    bool ScrollsY() const override { return false; }
    bool MovesCaret() const override { return false; }

private:
    CPianoRollZoomDrag(CPianoRollController& controller, bool octave, int64_t line)
        : m_c(controller), m_octave(octave), m_line(line) {}

    CPianoRollController& m_c;
    bool m_octave;
    int64_t m_line; // the row or the tick of the grabbed line
};
