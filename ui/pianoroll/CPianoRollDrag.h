#pragma once
// One drag of the piano roll, from the press of the button to its release. The controller
// holds at most one; it feeds it pointer positions once the pointer has moved past the
// drag threshold, and finishes it on release or when the pointer capture is lost.
//
// Thread: the user-interface thread only.

#include <QPoint>
#include <QRect>

class CPianoRollGeometry;
class QPainter;

class CPianoRollDrag {
public:
    virtual ~CPianoRollDrag() = default;

    // The first real movement: the drag starts to change things (records the change,
    // marks old places, takes anchors). The caret is still where the press put it.
    virtual void Start() {}
    // The pointer is at pos (client pixels); the caret already follows it when the drag
    // lets it (MovesCaret).
    virtual void Move(const QPoint& pos) = 0;
    // The button was released or the capture lost; `moved` tells whether Start ran. The
    // controller has already let go of the drag, so a refresh caused here finds none.
    virtual void Finish(bool moved) = 0;

    // Axes along which a pointer outside the note area scrolls the view.
    virtual bool ScrollsX() const { return true; }
    virtual bool ScrollsY() const { return true; }
    virtual bool MovesCaret() const { return true; }

    // What the drag paints over the picture, and where.
    virtual QRect OverlayRect(const CPianoRollGeometry&) const { return {}; }
    virtual void PaintOverlay(QPainter&, const CPianoRollGeometry&) const {}
};
