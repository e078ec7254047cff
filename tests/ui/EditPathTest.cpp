// The undo ring and the one edit path: depths, the ring's wrap, how `changed` reaches the
// unsaved and unbuilt sets through edits, undo and redo, and the edits it refuses because
// the song could not be saved and opened again, and the invariant checks after each step.

#include "EditTestHooks.h"
#include "UiTestSupport.h"
#include "UiTests.h"

#include "model/SongLimits.h"
#include "ui/CEditController.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <random>
#include <vector>

namespace {

// An edit that adds one note at `tick` to the first track and marks it.
void AddNoteEdit(CEditController& edit, int32_t tick, int views = CEditController::kViewPianoRoll) {
    edit.Edit(views, [&](CProject& project) {
        CNote values;
        values.position = tick;
        values.length = 480;
        const CNote* note = project.tracks[0].AddNote(values);
        edit.MarkNote(project.tracks[0], *note);
    });
}

size_t NoteCount(const CEditController& edit) {
    return edit.Project().tracks[0].NoteCount();
}

// What a state of the song is made of, selection included (the file holds no selection).
struct SongState {
    std::vector<uint8_t> bytes;
    int32_t currentTrack = 0;
    std::vector<std::vector<int32_t>> selected; // positions, in the order of selection
    std::vector<uint64_t> identities;

    explicit SongState(const CProject& song)
        : bytes(song.SaveToBytes()), currentTrack(song.currentTrack) {
        for (const CTrack& track : song.tracks) {
            std::vector<int32_t>& positions = selected.emplace_back();
            for (const CNote* note : track.Selection())
                positions.push_back(note->position);
            identities.push_back(track.Identity());
        }
    }
    bool operator==(const SongState&) const = default;
};

// One of the edits a user makes, on a track chosen at random: notes added, removed and
// selected, a sound changed, tracks swapped, added and removed, the tempo changed.
void RandomEdit(CEditController& edit, std::mt19937& rng) {
    const auto pick = [&rng](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(rng);
    };
    edit.Edit(CEditController::kViewAll, [&](CProject& p) {
        const int t = pick(int(p.tracks.size()));
        CTrack& track = p.tracks[size_t(t)];
        const CConstNoteArray notes = track.Notes();
        switch (pick(7)) {
        case 0: {
            CNote values;
            values.position = pick(1920 * 16);
            values.length = 1 + pick(1920);
            values.key = pick(96);
            track.AddNote(values);
            break;
        }
        case 1:
            if (!notes.empty())
                track.RemoveNote(notes[size_t(pick(int(notes.size())))]);
            break;
        case 2:
            if (!notes.empty())
                track.SelectNote(notes[size_t(pick(int(notes.size())))], true);
            break;
        case 3:
            track.settings.volume = pick(1024);
            break;
        case 4:
            std::swap(p.tracks[size_t(t)], p.tracks[size_t(pick(int(p.tracks.size())))]);
            break;
        case 5:
            if (p.tracks.size() > 1 && pick(2) == 0)
                p.RemoveTrack(t);
            else
                p.InsertTrack(t);
            break;
        default:
            TEMPO tempo = p.data.tempos[0];
            tempo.tempo = 60 + pick(120);
            p.data.tempos.SetAt(0, tempo);
            break;
        }
        p.currentTrack = pick(int(p.tracks.size()));
    });
}

} // namespace

class EditPathTest : public QObject {
    Q_OBJECT
private slots:
    void hundredChangesLeaveNinetyNineUndos() {
        // [GIVEN] a new song  [WHEN] 100 changes are recorded
        CEditController edit;
        for (int i = 0; i < 100; ++i)
            AddNoteEdit(edit, i * 480);
        // [THEN] the oldest snapshot is gone: 99 undos, back to one note
        QCOMPARE(edit.UndoRing().UndoDepth(), CUndoRing::kMaxDepth);
        int undone = 0;
        while (edit.CanUndo()) {
            edit.Undo();
            ++undone;
        }
        QCOMPARE(undone, 99);
        QCOMPARE(NoteCount(edit), size_t{1});
        QCOMPARE(edit.UndoRing().RedoDepth(), 99);
        // and redoing everything brings all hundred notes back
        while (edit.CanRedo())
            edit.Redo();
        QCOMPARE(NoteCount(edit), size_t{100});
    }

    void theRingsStepsMoveToAnotherWindowInOrder() {
        // [GIVEN] a ring that has wrapped: 100 changes, 99 steps kept
        CEditController edit;
        for (int i = 0; i < 100; ++i)
            AddNoteEdit(edit, i * 480);
        const std::vector<CProject> steps = edit.UndoRing().UndoSteps();
        QCOMPARE(int(steps.size()), CUndoRing::kMaxDepth);
        QCOMPARE(steps.front().tracks[0].NoteCount(), size_t{1});
        QCOMPARE(steps.back().tracks[0].NoteCount(), size_t{99});
        // [WHEN] a second window takes the song and its steps, plus one step too many
        CEditController restored;
        restored.ReplaceProject(edit.Project());
        std::vector<CProject> more = steps;
        more.insert(more.begin(), CProject());
        restored.RestoreUndoSteps(std::move(more));
        // [THEN] it undoes the same 99 steps; nothing is left to redo before that
        QVERIFY(!restored.CanRedo());
        for (size_t notes = 99; notes >= 1; --notes) {
            QVERIFY(restored.CanUndo());
            restored.Undo();
            QCOMPARE(NoteCount(restored), notes);
        }
        QVERIFY(!restored.CanUndo());
        QCOMPARE(restored.UndoRing().RedoDepth(), 99);
    }

    void aNewChangeClearsRedo() {
        CEditController edit;
        AddNoteEdit(edit, 0);
        AddNoteEdit(edit, 480);
        edit.Undo();
        edit.Undo();
        QVERIFY(edit.CanRedo());
        AddNoteEdit(edit, 960);
        QVERIFY(!edit.CanRedo());
        QCOMPARE(edit.UndoRing().UndoDepth(), 1);
        edit.Undo();
        QCOMPARE(NoteCount(edit), size_t{0});
        QVERIFY(!edit.CanUndo());
    }

    void undoAndRedoRestoreTheSongExactly() {
        CEditController edit;
        AddNoteEdit(edit, 0);
        const std::vector<uint8_t> after = edit.Project().SaveToBytes();
        edit.Undo();
        QCOMPARE(NoteCount(edit), size_t{0});
        edit.Redo();
        QVERIFY(edit.Project().SaveToBytes() == after);
    }

    // The steps share the tracks an edit left alone: whatever is shared or copied, every
    // state comes back exactly, forwards and backwards.
    void aRandomRunOfEditsUndoesAndRedoesToEveryStateExactly() {
        CEditController edit;
        std::mt19937 rng(20261208);
        for (int i = 0; i < 3; ++i)
            edit.Edit(CEditController::kViewAll, [](CProject& p) { p.InsertTrack(0); });
        std::vector<SongState> states{SongState(edit.Project())};
        for (int i = 0; i < 60; ++i) {
            RandomEdit(edit, rng);
            states.emplace_back(edit.Project());
            if (i % 7 == 3) { // an undo and a redo between the edits
                edit.Undo();
                QVERIFY(SongState(edit.Project()) == states[states.size() - 2]);
                edit.Redo();
                QVERIFY(SongState(edit.Project()) == states.back());
            }
        }
        for (size_t i = states.size() - 1; i > 0; --i) {
            QVERIFY(SongState(edit.Project()) == states[i]);
            edit.Undo();
        }
        QVERIFY(SongState(edit.Project()) == states[0]);
        for (size_t i = 1; i < states.size(); ++i) {
            edit.Redo();
            QVERIFY(SongState(edit.Project()) == states[i]);
        }
    }

    // An edit of one track costs a copy of that track only, and undoing it does not copy
    // the others: their notes stay where they were.
    void undoLeavesTheTracksItDidNotTouchWhereTheyAre() {
        CEditController edit;
        edit.Edit(CEditController::kViewAll, [](CProject& p) {
            p.InsertTrack(1);
            CNote values;
            values.length = 100;
            p.tracks[1].AddNote(values);
        });
        const CNote* untouched = edit.Project().tracks[1].Notes()[0];
        AddNoteEdit(edit, 0);
        AddNoteEdit(edit, 960);
        QCOMPARE(edit.Project().tracks[1].Notes()[0], untouched);
        edit.Undo();
        QCOMPARE(NoteCount(edit), size_t{1});
        QCOMPARE(edit.Project().tracks[1].Notes()[0], untouched);
        edit.Redo();
        QCOMPARE(NoteCount(edit), size_t{2});
        QCOMPARE(edit.Project().tracks[1].Notes()[0], untouched);
    }

    void editsMergeChangedIntoBothSets() {
        // [GIVEN] tempo 120: 480 ticks are 0.5 s, so tick 3840 lies in second 4
        CEditController edit;
        QSignalSpy views(&edit, &CEditController::viewsChanged);
        QSignalSpy title(&edit, &CEditController::titleChanged);
        AddNoteEdit(edit, 3840);
        QCOMPARE(edit.Project().changed, (CProjectModified{0, 0, 0, 0, 1}));
        QCOMPARE(edit.Unsaved(), edit.Project().changed);
        QCOMPARE(edit.Unbuilt(), edit.Project().changed);
        QCOMPARE(edit.Project().modified, 1);
        QCOMPARE(views.count(), 1);
        QCOMPARE(views.first().first().toInt(), int(CEditController::kViewPianoRoll));
        QVERIFY(title.count() >= 1);
        // [WHEN] a second edit: `changed` starts empty, the sets accumulate
        AddNoteEdit(edit, 0);
        QCOMPARE(edit.Project().changed, (CProjectModified{1}));
        QCOMPARE(edit.Unbuilt(), (CProjectModified{1, 0, 0, 0, 1}));
    }

    void undoMergesTheChangeItTakesBack() {
        CEditController edit;
        AddNoteEdit(edit, 3840);
        edit.Unbuilt().assign(edit.Unbuilt().size(), 0); // as after a build
        edit.Undo();
        // The undone note's seconds are stale again, and the flag set by the snapshot shows.
        QCOMPARE(edit.Unbuilt(), (CProjectModified{0, 0, 0, 0, 1}));
        QCOMPARE(edit.Project().modified, 1);
        edit.Unbuilt().assign(edit.Unbuilt().size(), 0);
        edit.Redo();
        // Redo marks the seconds of the edit it brings back, although the state it leaves
        // was recorded before that edit marked anything.
        QCOMPARE(edit.Unbuilt(), (CProjectModified{0, 0, 0, 0, 1}));
        edit.Unbuilt().assign(edit.Unbuilt().size(), 0);
        edit.Undo();
        QCOMPARE(edit.Unbuilt(), (CProjectModified{0, 0, 0, 0, 1}));
    }

    void mutedTracksMarkNothing() {
        CEditController edit;
        SongOf(edit).tracks[0].settings.mute = 1;
        AddNoteEdit(edit, 0);
        QVERIFY(edit.Project().changed.empty());
        QVERIFY(edit.Unbuilt().empty());
        QCOMPARE(edit.Project().modified, 1);
    }

    void loopMarkSetsSecondZero() {
        CEditController edit;
        edit.Edit(CEditController::kViewNone, [&](CProject& project) {
            project.data.loopEnabled = 1;
            edit.MarkLoop();
        });
        QCOMPARE(edit.Unbuilt(), (CProjectModified{1}));
    }

    void editsPastTheSongLimitsAreTakenBack() {
        struct Case {
            const char* what;
            std::function<void(CProject&)> change;
            const char* text;
        } cases[] = {
            {"a track too many", [](CProject& p) { p.tracks.resize(songlimits::kMaxTracks + 1); },
             "トラックの数が上限 (4096) を超えます。\nこの操作はできません。"},
            {"a note a million buckets out",
             [](CProject& p) {
                 CNote far;
                 far.position =
                     static_cast<int32_t>(songlimits::kSegmentBudget) * CTrack::kBucketTicks;
                 p.tracks[0].AddNote(far);
             },
             "音符の量が 1 曲の上限を超えます。\nこの操作はできません。"},
        };
        for (const Case& c : cases) {
            // [GIVEN] a saved song with an undo step and a redo step
            CEditController edit;
            AddNoteEdit(edit, 0);
            AddNoteEdit(edit, 480);
            edit.Undo();
            edit.SetModifiedFlag(false);
            const std::vector<uint8_t> before = edit.Project().SaveToBytes();
            const CProjectModified unbuilt = edit.Unbuilt();
            QSignalSpy refused(&edit, &CEditController::changeRefused);
            QSignalSpy views(&edit, &CEditController::viewsChanged);
            // [WHEN] an edit takes it past a limit
            QVERIFY2(!edit.Edit(CEditController::kViewNone, c.change), c.what);
            // [THEN] the song is as it was, with no step added, and the refusal says why
            QVERIFY2(edit.Project().SaveToBytes() == before, c.what);
            QCOMPARE(edit.Project().modified, 0);
            QCOMPARE(edit.UndoRing().UndoDepth(), 1);
            QVERIFY(edit.Unbuilt() == unbuilt);
            QCOMPARE(refused.count(), 1);
            QCOMPARE(refused.first().first().toString(), QString::fromUtf8(c.text));
            QCOMPARE(views.count(), 1);
            QCOMPARE(views.first().first().toInt(), int(CEditController::kViewAll));
            // and editing, undoing and redoing go on from there
            AddNoteEdit(edit, 960);
            QCOMPARE(NoteCount(edit), size_t{2});
            edit.Undo();
            edit.Undo();
            QCOMPARE(NoteCount(edit), size_t{0});
            edit.Redo();
            QCOMPARE(NoteCount(edit), size_t{1});
        }
    }

    void aSongAtTheLimitsStillTakesEdits() {
        CEditController edit;
        SongOf(edit).tracks.resize(songlimits::kMaxTracks);
        QVERIFY(edit.Edit(CEditController::kViewNone,
                          [](CProject& p) { p.tracks.back().settings.name = "last"; }));
        QVERIFY(edit.Edit(CEditController::kViewNone,
                          [](CProject& p) { p.tracks.erase(p.tracks.begin()); }));
        QCOMPARE(edit.Project().tracks.size(), size_t{songlimits::kMaxTracks - 1});
    }

    // [GIVEN] a handler that records faults  [WHEN] an edit breaks an invariant and is undone
    // and redone  [THEN] the commit and the redo report the fault, the undo nothing
    void brokenInvariantsAreReportedAfterCommitAndRedo() {
        QStringList faults;
        CEditController::SetInvariantHandler([&](const QString& fault) { faults << fault; });
        CEditController edit;
        AddNoteEdit(edit, 0);
        edit.Edit(CEditController::kViewNone, [](CProject& p) {
            p.data.tempos.Assign({TEMPO{480, 120.0}});
        });
        edit.Undo();
        edit.Redo();
        CheckInvariantsAfterEveryStep();
        QCOMPARE(
            faults,
            (QStringList{"the song breaks an invariant after a commit: tempo list starts at 480",
                         "the song breaks an invariant after a redo: tempo list starts at 480"}));
    }

    void replacingTheSongForgetsHistoryAndSets() {
        CEditController edit;
        AddNoteEdit(edit, 0);
        edit.ReplaceProject(MakeSong(4));
        QVERIFY(!edit.CanUndo());
        QVERIFY(edit.Unsaved().empty());
        QVERIFY(edit.Unbuilt().empty());
        edit.ResetUnbuilt(1);
        // 4 quarter notes at 120: 2.0 s, so two whole seconds
        QCOMPARE(edit.Unbuilt(), (CProjectModified{1, 1}));
    }
};

std::unique_ptr<QObject> MakeEditPathTest() {
    return std::make_unique<EditPathTest>();
}

#include "EditPathTest.moc"
