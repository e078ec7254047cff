#pragma once
// The undo history: a ring of whole-project snapshots with a cursor and two depths. Plain
// data; CEditController decides when to record and what to merge around it.
//
// A step holds the song without its tracks, each track's settings, and the track itself
// (its notes) behind a shared pointer: a track whose notes did not change between two
// steps (CTrack::NoteRevision) is held once by both. An edit of one track of a large song
// so copies that track, not the song, and undo and redo copy only the tracks that differ.
//
// Thread: the user-interface thread only.

#include "model/CProject.h"

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
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

    class HeldSteps;
    // The states Undo would return to, oldest first (what a recovery keeps), as the ring
    // holds them: cheap to take on this thread, made into songs on any thread.
    HeldSteps HoldUndoSteps() const;
    // The same made into songs at once.
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
    struct STEP_TRACK {
        CTrackData settings;
        std::shared_ptr<const CTrack> notes;
    };
    struct STEP {
        CProject song; // without its tracks
        std::vector<STEP_TRACK> tracks;
    };
    using NotesByRevision = std::unordered_map<uint64_t, std::shared_ptr<const CTrack>>;

    static void Index(const STEP& step, NotesByRevision& known);
    // `song` as a step, sharing the notes `known` holds and copying the others.
    static STEP MakeStep(const CProject& song, const NotesByRevision& known);
    // The same for a song about to be replaced: tracks not shared are moved, not copied.
    static STEP LeaveStep(CProject& song, const NotesByRevision& known);
    // The song a step holds: its notes come from a track of `current` with the same
    // revision where there is one (current is replaced), else they are copied.
    static CProject EnterStep(const STEP& step, CProject& current);
    static CProject SongOf(const STEP& step);
    static CProject WithoutTracks(const CProject& song);
    STEP& Slot(int index) { return (*m_slots)[size_t((index + kSlots) % kSlots)]; }
    // Moves `current` to the slot at the cursor and enters the slot `to`.
    void Step(CProject& current, int to);

    // Heap storage: a hundred steps do not belong on the stack of whoever owns the ring.
    std::unique_ptr<std::array<STEP, kSlots>> m_slots;
    int m_cursor = 0;
    int m_undoDepth = 0;
    int m_redoDepth = 0;

public:
    // Steps taken out of the ring. The notes they share with it never change, so Songs()
    // may copy them on another thread while the ring goes on.
    class HeldSteps {
    public:
        std::vector<CProject> Songs() const;

    private:
        friend class CUndoRing;
        std::vector<STEP> m_steps;
    };
};
