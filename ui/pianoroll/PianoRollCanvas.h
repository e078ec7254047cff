#pragma once
// What the piano roll's controller and its drag tools ask of the widget that shows the
// roll: the current view, redraws, scrolling, zoom, the pointer and the outward signals.
// CPianoRollWnd implements it; the gestures never touch the widget directly.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/CPianoRollGeometry.h"

#include <QCursor>
#include <QPoint>
#include <QRect>

#include <cstdint>

class CNote;

class IPianoRollCanvas {
public:
    virtual ~IPianoRollCanvas() = default;

    // The view as it is now; a fresh value after every scroll, zoom or resize.
    virtual CPianoRollGeometry Geometry() const = 0;

    // Part of the cached picture (grid, notes, note caret) changed.
    virtual void InvalidateNotes(const QRect& rect) = 0;
    virtual void InvalidateAll() = 0;
    // Part of what is painted over the picture (position caret, play line, selection
    // rectangle) changed.
    virtual void InvalidateOverlay(const QRect& rect) = 0;

    // Scrolls by lines: dx in beats or measures ("ScrollMeasure"), dy in rows. Returns
    // whether the view moved.
    virtual bool ScrollLines(int dx, int dy) = 0;
    // Brings a tick and a row into view.
    virtual void ScrollToShow(int32_t tick, int row) = 0;
    virtual void SetZoom(int zoomX, int zoomY) = 0;
    virtual void ShowCursor(const QCursor& cursor) = 0;
    // Keeps all pointer events coming while the middle-button pan runs without a button.
    virtual void GrabPointer(bool grab) = 0;

    virtual int32_t PlayLine() const = 0;
    // The user dragged the play line: it moves there and the frame hears of it.
    virtual void DragPlayLine(int32_t tick) = 0;

    // The caret moved from where `old` shows it.
    virtual void CaretMoved(const CNote& old) = 0;
    // The selection changed (texts and command enabling follow it).
    virtual void SelectionChanged() = 0;
    virtual void RequestCommand(int id) = 0;
    // The pane's pop-up menu at a point of the client area.
    virtual void RequestContextMenu(const QPoint& pos) = 0;
};
