#pragma once
// Cursors of the piano roll: the two boundary-resize cursors of the ruler and the key
// column, and the nine cursors of middle-button panning (neutral and eight directions).

#include <QCursor>

namespace piano_roll_cursors {

// The measure-boundary (zoom X) and octave-boundary (zoom Y) cursors.
QCursor MeasureBoundary();
QCursor OctaveBoundary();
// dx and dy are -1, 0 or 1: the direction the view pans; both 0 is the neutral cursor.
QCursor Pan(int dx, int dy);

} // namespace piano_roll_cursors
