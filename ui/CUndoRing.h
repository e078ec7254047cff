#pragma once
// The undo history: a ring of whole-project snapshots with a cursor and two depths. Plain
// data; CEditController decides when to record and what to merge around it.
//
// Thread: the user-interface thread only.

#include "model/CProject.h"

#include <array>
#include <memory>
#include <vector>

class CUndoRing {
public:
    static constexpr int kSlots = 100;
    // One slot always holds the state being left, so at most 99 steps can be undone.
    static constexpr int kMaxDepth = kSlots - 1;

    CUndoRing();

    // Keeps a copy of the state before a change. Clears the redo history.
    void Record(const CProject& before);
    // Swaps `current` with the previous snapshot; `current` is kept for Redo.
    void Undo(CProject& current);
    void Redo(CProject& current);
    // Takes back the newest step for good: `current` returns to the state recorded last,
    // and no redo step is kept for the state it leaves.
    void Revert(CProject& current);
    // Forgets every step (a new or opened document).
    void Clear();

    // Copies of the states Undo would return to, oldest first (what a recovery keeps).
    std::vector<CProject> UndoSteps() const;
    // Forgets every step, then takes `steps` (oldest first; the newest kMaxDepth of them)
    // as the states to undo back to, as a restored window had them.
    void RestoreUndoSteps(std::vector<CProject> steps);

    bool CanUndo() const { return m_undoDepth > 0; }
    bool CanRedo() const { return m_redoDepth > 0; }
    int UndoDepth() const { return m_undoDepth; }
    int RedoDepth() const { return m_redoDepth; }
    int Cursor() const { return m_cursor; }

private:
    // Heap storage: a hundred projects do not belong on the stack of whoever owns the ring.
    std::unique_ptr<std::array<CProject, kSlots>> m_slots;
    int m_cursor = 0;
    int m_undoDepth = 0;
    int m_redoDepth = 0;
};
