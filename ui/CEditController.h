#pragma once
// The one path every edit of the open song takes:
//
//   RecordChange()   snapshot into the undo ring, `modified` set, `changed` emptied
//   ...change...     the caller edits Changing() through the model's operations and marks
//                    what it touched (MarkNote, MarkTrack, MarkAll, MarkLoop)
//   CommitChange()   `changed` merged into the unsaved and unbuilt sets, then the title
//                    and the named views are refreshed through viewsChanged()
//
// Project() is read-only; Changing(), the song to edit, asserts that a change is open, so
// no edit can go around the undo ring. The only other changes are the user's selection and
// current track, which are no edits of the song (SelectNote, FindNotes, SetCurrentTrack),
// and the build's bookkeeping (PrepareBuild).
//
// A change that takes the song past what a project file may hold (SongLimits.h) is not
// committed: the song goes back to the state RecordChange() recorded, with no undo step
// left, and changeRefused() carries the message to show. So no command, however it edits,
// can make a song that could not be saved and opened again.
//
// After every commit, undo and redo the song is checked against the model's invariants
// (model/ModelInvariants.h) when an invariant handler is set: debug builds set one that
// aborts naming the fault, the UI tests one that fails the running test. Release builds
// do not check, since a check walks every note of the song.
//
// Edit() runs the three steps around a function. Dialog-driven commands run the dialog on
// a copy first and call Edit() only on OK, so a cancelled dialog leaves no undo step.
// Views and panes never copy these steps; they call this class.
//
// Thread: the user-interface thread only. A build renders a copy of the song and owns the
// flags it renders until it ends, so an edit made while it runs is simply stale afterwards.

#include "model/CProject.h"
#include "model/FindData.h"
#include "ui/CUndoRing.h"

#include <QObject>

#include <cstdint>
#include <functional>

class CEditController : public QObject {
    Q_OBJECT
public:
    // What a change asks to be redrawn; combined as flags.
    enum View : int {
        kViewNone = 0,
        kViewTrackList = 1, // the track window refills its rows
        kViewPianoRoll = 2, // the piano roll redraws
        kViewResetRoll = 4, // the piano roll scrolls back to the start
        kViewPlayLine = 8,  // the play line goes back to the play start position
        kViewAll = kViewTrackList | kViewPianoRoll,
    };

    explicit CEditController(QObject* parent = nullptr);

    const CProject& Project() const { return m_project; }
    // The song, for the change in progress: between RecordChange() and CommitChange().
    CProject& Changing();
    // Seconds changed since the project file was last saved.
    const CProjectModified& Unsaved() const { return m_unsaved; }
    // Seconds whose audio in the built WAV file is stale; the build clears what it renders.
    // While a build runs it holds only what was edited since the build started.
    CProjectModified& Unbuilt() { return m_unbuilt; }
    const CProjectModified& Unbuilt() const { return m_unbuilt; }
    // The same for the file solo playback plays (CSoloTracks): every edit marks it too, and
    // the solo file's builds clear what they render.
    CProjectModified& SoloUnbuilt() { return m_soloUnbuilt; }
    const CUndoRing& UndoRing() const { return m_undo; }
    // The undo steps of a restored song, oldest first; replaces the history there is.
    void RestoreUndoSteps(std::vector<CProject> steps) {
        m_undo.RestoreUndoSteps(std::move(steps));
    }

    // The steps of an edit (see the top of this file).
    void RecordChange();
    // False when the change was refused and taken back.
    bool CommitChange(int views);
    template <class F> bool Edit(int views, F&& change) {
        RecordChange();
        change(m_project);
        return CommitChange(views);
    }
    // Adds a change to the newest undo step instead of recording one, for one gesture the
    // user makes over several events (the notes of a chord come key by key). The caller
    // makes sure the newest step is still its own; a refused change takes back the whole
    // step.
    template <class F> bool Amend(int views, F&& change) {
        ++m_openChanges;
        m_project.changed.clear();
        change(m_project);
        return CommitChange(views);
    }

    // The selection of the current track (CTrack::SelectNote, CTrack::FindNotes) and the
    // choice of the current track: they say where the user works, so they leave no undo
    // step and mark nothing. Without a current track nothing is selected.
    int SelectNote(const CNote* note, bool select);
    void FindNotes(const FIND_DATA& criteria, bool extend);
    void SetCurrentTrack(int index);

    // Prepares the unbuilt set and the song's build bookkeeping for a build (see
    // CProject::PrepareBuild) and hands the song to it: the build loads the samples of
    // PCM tracks into their settings, which changes nothing a file stores.
    CProject& PrepareBuild(bool full);

    // Marking helpers for the change in progress. Notes of muted tracks make no sound, so
    // MarkNote and MarkTrack skip them.
    void MarkNote(const CTrack& track, const CNote& note);
    void MarkTrack(const CTrack& track);
    void MarkAll();
    void MarkLoop();

    bool CanUndo() const { return m_undo.CanUndo(); }
    bool CanRedo() const { return m_undo.CanRedo(); }
    void Undo();
    void Redo();

    // Document replacement (new, open, import as new). The sets start empty, the undo
    // history is forgotten; the caller fills the unbuilt set and asks for the refresh.
    void ReplaceProject(CProject project);
    void ClearUnsaved() { m_unsaved.clear(); }
    // Sizes the unbuilt set to the song's whole seconds (rounded up), every flag = value.
    void ResetUnbuilt(int32_t value);
    void SetUnbuilt(CProjectModified map) { m_unbuilt = std::move(map); }

    // Sets or clears the project's modified flag and announces the title change.
    void SetModifiedFlag(bool modified);
    // Asks every view for a refresh without a change of the song.
    void Refresh(int views) { emit viewsChanged(views); }

    // Receives the fault when the song breaks an invariant after a commit, undo or redo.
    // One handler serves every controller of the program; an empty one restores the
    // build's default (abort in debug builds, no check in release builds).
    using InvariantHandler = std::function<void(const QString& fault)>;
    static void SetInvariantHandler(InvariantHandler handler);

signals:
    // The modified flag or anything else shown in the window title may have changed.
    void titleChanged();
    void viewsChanged(int views);
    // A change was refused; `text` says why, for a message box.
    void changeRefused(const QString& text);

private:
    // Tests set up the song before a test through it, on purpose outside the edit path.
    friend struct EditControllerTestAccess;

    void MergeChanged();
    void TakeBack();
    // Runs the invariant handler, if any, on a broken song; `step` names what just ran.
    void CheckSong(const char* step) const;

    CProject m_project;
    CProjectModified m_unsaved;
    CProjectModified m_unbuilt;
    CProjectModified m_soloUnbuilt;
    CUndoRing m_undo;
    int32_t m_modifiedBeforeChange = 0;
    // Changes recorded and not yet committed. A command run during a drag (a key while the
    // button is held) records and commits inside the drag's own change, hence a count.
    int m_openChanges = 0;
};
