#pragma once
// What the note commands need from the piano roll that shows the notes: the caret they
// act at, and a redraw after changes that take no undo step (selection only).
//
// Thread: the user-interface thread only.

#include <cstdint>

class IPianoRollView {
public:
    virtual ~IPianoRollView() = default;
    virtual int32_t CaretPosition() const = 0;
    virtual int CaretRow() const = 0;
    // Moves the caret and scrolls it into view.
    virtual void SetCaret(int32_t position, int row) = 0;
    // The selection or the default note changed without an undo step: redraw the notes
    // and re-evaluate the commands' enabling.
    virtual void NotesChanged() = 0;
};
