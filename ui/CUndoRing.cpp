#include "ui/CUndoRing.h"

#include <algorithm>
#include <utility>

CUndoRing::CUndoRing() : m_slots(std::make_unique<std::array<STEP, kSlots>>()) {
}

// Every field but the tracks, which the steps keep apart.
CProject CUndoRing::WithoutTracks(const CProject& song) {
    CProject copy;
    copy.data = song.data;
    copy.changed = song.changed;
    copy.modified = song.modified;
    copy.currentTrack = song.currentTrack;
    copy.lastBuildLength = song.lastBuildLength;
    copy.lastBuildFadeOut = song.lastBuildFadeOut;
    return copy;
}

void CUndoRing::Index(const STEP& step, NotesByRevision& known) {
    for (const STEP_TRACK& track : step.tracks)
        known.emplace(track.notes->NoteRevision(), track.notes);
}

CUndoRing::STEP CUndoRing::MakeStep(const CProject& song, const NotesByRevision& known) {
    STEP step{WithoutTracks(song), {}};
    step.tracks.reserve(song.tracks.size());
    for (const CTrack& track : song.tracks) {
        const auto shared = known.find(track.NoteRevision());
        step.tracks.push_back({track.settings, shared != known.end()
                                                   ? shared->second
                                                   : std::make_shared<const CTrack>(track)});
    }
    return step;
}

CUndoRing::STEP CUndoRing::LeaveStep(CProject& song, const NotesByRevision& known) {
    STEP step{WithoutTracks(song), {}};
    step.tracks.reserve(song.tracks.size());
    for (CTrack& track : song.tracks) {
        const auto shared = known.find(track.NoteRevision());
        step.tracks.push_back(
            {track.settings, shared != known.end()
                                 ? shared->second
                                 : std::make_shared<const CTrack>(std::move(track))});
    }
    return step;
}

CProject CUndoRing::EnterStep(const STEP& step, CProject& current) {
    std::unordered_map<uint64_t, CTrack*> present;
    for (CTrack& track : current.tracks)
        present.emplace(track.NoteRevision(), &track);
    CProject song = WithoutTracks(step.song);
    song.tracks.reserve(step.tracks.size());
    for (const STEP_TRACK& track : step.tracks) {
        const auto kept = present.find(track.notes->NoteRevision());
        if (kept != present.end() && kept->second != nullptr) {
            song.tracks.push_back(std::move(*kept->second));
            kept->second = nullptr;
        } else {
            song.tracks.push_back(*track.notes);
        }
        song.tracks.back().settings = track.settings;
    }
    return song;
}

CProject CUndoRing::SongOf(const STEP& step) {
    CProject none;
    return EnterStep(step, none);
}

// The slot at the cursor may hold the very state being recorded (after an undo), the one
// before it the last state recorded: between them they hold every track an edit left alone.
void CUndoRing::Record(const CProject& before) {
    NotesByRevision known;
    Index(Slot(m_cursor), known);
    if (m_undoDepth > 0)
        Index(Slot(m_cursor - 1), known);
    Slot(m_cursor) = MakeStep(before, known);
    m_cursor = (m_cursor + 1) % kSlots;
    m_undoDepth = std::min(m_undoDepth + 1, kMaxDepth);
    m_redoDepth = 0;
}

void CUndoRing::Step(CProject& current, int to) {
    NotesByRevision known;
    Index(Slot(to), known);
    STEP left = LeaveStep(current, known);
    current = EnterStep(Slot(to), current);
    Slot(m_cursor) = std::move(left);
    m_cursor = (to + kSlots) % kSlots;
}

void CUndoRing::Undo(CProject& current) {
    if (!CanUndo())
        return;
    Step(current, m_cursor - 1);
    --m_undoDepth;
    m_redoDepth = std::min(m_redoDepth + 1, kMaxDepth);
}

void CUndoRing::Redo(CProject& current) {
    if (!CanRedo())
        return;
    Step(current, m_cursor + 1);
    m_undoDepth = std::min(m_undoDepth + 1, kMaxDepth);
    --m_redoDepth;
}

void CUndoRing::Revert(CProject& current) {
    if (!CanUndo())
        return;
    m_cursor = (m_cursor + kSlots - 1) % kSlots;
    --m_undoDepth;
    m_redoDepth = 0;
    current = EnterStep(Slot(m_cursor), current);
}

void CUndoRing::Clear() {
    for (STEP& slot : *m_slots)
        slot = STEP();
    m_cursor = 0;
    m_undoDepth = 0;
    m_redoDepth = 0;
}

CUndoRing::HeldSteps CUndoRing::HoldUndoSteps() const {
    HeldSteps held;
    held.m_steps.reserve(size_t(m_undoDepth));
    for (int i = m_undoDepth; i > 0; --i)
        held.m_steps.push_back((*m_slots)[size_t((m_cursor + kSlots - i) % kSlots)]);
    return held;
}

std::vector<CProject> CUndoRing::HeldSteps::Songs() const {
    std::vector<CProject> songs;
    songs.reserve(m_steps.size());
    for (const STEP& step : m_steps)
        songs.push_back(SongOf(step));
    return songs;
}

std::vector<CProject> CUndoRing::UndoSteps() const {
    return HoldUndoSteps().Songs();
}

void CUndoRing::RestoreUndoSteps(std::vector<CProject> steps) {
    Clear();
    const size_t first = steps.size() > size_t(kMaxDepth) ? steps.size() - kMaxDepth : 0;
    for (size_t i = first; i < steps.size(); ++i)
        Record(steps[i]);
}
