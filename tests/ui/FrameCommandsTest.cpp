// The frame's commands driven through its actions, buttons and boxes: track commands and
// their enabling, the fit and length buttons, the note bar's limits, pane switching, the
// full-screen state kept across runs, and the commands refused at the song's limits.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "common/ClipboardFormats.h"
#include "dialogs/CNumberEdit.h"
#include "model/SongLimits.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CNoteDefaults.h"
#include "ui/CWindowState.h"
#include "ui/CommandIds.h"
#include "ui/bars/CNoteBar.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// A second track with a note, added through the edit path.
void AddTrack(CEditController& edit, const char* name, int waveform) {
    edit.Edit(CEditController::kViewAll, [&](CProject& project) {
        project.InsertTrack(static_cast<int>(project.tracks.size()));
        project.tracks.back().settings.name = name;
        project.tracks.back().settings.waveform = waveform;
        CNote values;
        values.position = 1920;
        project.tracks.back().AddNote(values);
    });
}

void ClickButtonOf(QToolBar& bar, QAction* action) {
    auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(action));
    QVERIFY(button != nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Accepts the next modal dialog as soon as it shows, with the values it was given.
void AcceptNextDialog() {
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
}

void TypeInto(CNumberEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

class FrameCommandsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestApp> app;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<RecordingLauncher> launcher;
    std::unique_ptr<CMainFrame> frame;

    void MakeFrame() {
        frame = std::make_unique<CMainFrame>(*app, prompts.get(), launcher.get());
        frame->ShowWindow(false);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
    }

    bool Enabled(int id) {
        frame->UpdateCommandStates();
        return frame->Action(id)->isEnabled();
    }

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        prompts = std::make_unique<ScriptedPrompts>();
        launcher = std::make_unique<RecordingLauncher>();
        MakeFrame();
    }

    void cleanup() {
        if (frame) {
            frame->Edit().SetModifiedFlag(false);
            frame->close();
        }
        frame.reset();
    }

    void startsUntitledWithOneTrack() {
        QCOMPARE(frame->windowTitle(), QStringLiteral("無題 - Tesselaphon Editor"));
        QCOMPARE(frame->TrackWnd().count(), 1);
        QCOMPARE(frame->Splitter().sizes().first(), CMainFrame::kTrackPaneWidth);
        QVERIFY(!Enabled(cmd::kUndo));
        QVERIFY(!Enabled(cmd::kStop));
        QVERIFY(Enabled(cmd::kPlay));
        QCOMPARE(frame->Action(cmd::kFileNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(frame->Action(cmd::kUndo)->shortcuts().value(1),
                 QKeySequence(Qt::ALT | Qt::Key_Backspace));
        QCOMPARE(frame->Action(cmd::kPlay)->statusTip(),
                 QStringLiteral("Wave サウンドファイルを再生します。"));
        QCOMPARE(frame->Action(cmd::kPlay)->toolTip(), QStringLiteral("再生 (F5)"));
        QCOMPARE(frame->Action(cmd::kFileOpen)->text(), QStringLiteral("開く(&O)..."));
    }

    void trackCommandsFollowTheirRules() {
        // One track: no neighbours and no others to mute.
        QVERIFY(!Enabled(cmd::kTrackUp));
        QVERIFY(!Enabled(cmd::kTrackDown));
        QVERIFY(!Enabled(cmd::kTrackMuteOthers));
        QVERIFY(!Enabled(cmd::kTrackSound)); // square wave has no sound dialog
        QVERIFY(Enabled(cmd::kTrackUnmuteAll));
        CEditController& edit = frame->Edit();
        AddTrack(edit, "PCM", kPcm);
        edit.SetCurrentTrack(0);
        frame->TrackWnd().Refresh();
        QVERIFY(!Enabled(cmd::kTrackUp));
        QVERIFY(Enabled(cmd::kTrackDown));
        QVERIFY(Enabled(cmd::kTrackMuteOthers));
        // Down moves the track and the current index with it.
        QVERIFY(frame->RunCommand(cmd::kTrackDown));
        QCOMPARE(edit.Project().currentTrack, 1);
        QCOMPARE(edit.Project().tracks[0].settings.name, std::string("PCM"));
        QVERIFY(Enabled(cmd::kTrackUp));
        QVERIFY(!Enabled(cmd::kTrackDown));
        QVERIFY(!Enabled(cmd::kTrackSound));
        edit.SetCurrentTrack(0);
        QVERIFY(Enabled(cmd::kTrackSound));
        // Mute is a check item; muting marks the track's notes stale.
        edit.Unbuilt().clear();
        QVERIFY(frame->RunCommand(cmd::kTrackMute));
        frame->UpdateCommandStates();
        QVERIFY(frame->Action(cmd::kTrackMute)->isChecked());
        QVERIFY(edit.Unbuilt().AnySet());
        // Mute the others: the current one sounds, the rest are muted.
        QVERIFY(frame->RunCommand(cmd::kTrackMuteOthers));
        QCOMPARE(edit.Project().tracks[0].settings.mute, 0);
        QCOMPARE(edit.Project().tracks[1].settings.mute, 1);
        QVERIFY(frame->RunCommand(cmd::kTrackUnmuteAll));
        QCOMPARE(edit.Project().tracks[1].settings.mute, 0);
        // Duplicate inserts after the current track and selects the copy.
        QVERIFY(frame->RunCommand(cmd::kTrackDuplicate));
        QCOMPARE(edit.Project().tracks.size(), size_t{3});
        QCOMPARE(edit.Project().currentTrack, 1);
        QCOMPARE(edit.Project().tracks[1].settings.name, std::string("PCM"));
        QCOMPARE(frame->TrackWnd().currentRow(), 1);
        QCOMPARE(frame->windowTitle(), QStringLiteral("無題 * - Tesselaphon Editor"));
        // Undo walks back through every step.
        for (int i = 0; i < 6; ++i)
            QVERIFY(frame->RunCommand(cmd::kUndo));
        QCOMPARE(edit.Project().tracks.size(), size_t{1});
    }

    void trackWindowCommandsNeedTwoTracks() {
        frame->TrackWnd().setFocus();
        QVERIFY(!Enabled(cmd::kDelete));
        QVERIFY(!Enabled(cmd::kCut));
        QVERIFY(Enabled(cmd::kCopy));
        AddTrack(frame->Edit(), "second", kSine);
        frame->TrackWnd().setFocus();
        QVERIFY(Enabled(cmd::kDelete));
        QVERIFY(frame->RunCommand(cmd::kCopy));
        QVERIFY(Enabled(cmd::kPaste));
        QVERIFY(frame->RunCommand(cmd::kPaste));
        QCOMPARE(frame->Edit().Project().tracks.size(), size_t{3});
        QVERIFY(frame->RunCommand(cmd::kDelete));
        QCOMPARE(frame->Edit().Project().tracks.size(), size_t{2});
    }

    void trackCommandsStopAtTheTrackLimit() {
        // [GIVEN] a song of as many tracks as a song may hold
        CEditController& edit = frame->Edit();
        CProject full = MakeSong(1);
        full.tracks.resize(songlimits::kMaxTracks);
        edit.ReplaceProject(std::move(full));
        frame->TrackWnd().Refresh();
        // [WHEN] a track is duplicated, added or pasted
        QVERIFY(frame->RunCommand(cmd::kTrackDuplicate));
        AcceptNextDialog();
        QVERIFY(frame->RunCommand(cmd::kTrackAdd));
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        frame->TrackWnd().setFocus();
        QVERIFY(frame->RunCommand(cmd::kCopy));
        QVERIFY(frame->RunCommand(cmd::kPaste));
        // [THEN] each is refused with an error message and leaves no undo step
        const QString refusal =
            QStringLiteral("トラックの数が上限 (4096) を超えます。\nこの操作はできません。");
        QCOMPARE(prompts->Texts(), QStringList(3, refusal));
        QCOMPARE(prompts->shown.last().icon, IUserPrompts::Icon::Error);
        QCOMPARE(edit.Project().tracks.size(), size_t{songlimits::kMaxTracks});
        QCOMPARE(frame->TrackWnd().count(), int(songlimits::kMaxTracks));
        QVERIFY(!edit.CanUndo());
        QCOMPARE(frame->windowTitle(), QStringLiteral("無題 - Tesselaphon Editor"));
    }

    void notePasteStopsAtTheNoteLimit() {
        // [GIVEN] a song whose one note lies a million buckets out, near the limit
        CEditController& edit = frame->Edit();
        CProject song = MakeSong(0);
        CNote far;
        far.position = 1000000 * CTrack::kBucketTicks;
        song.tracks[0].AddNote(far);
        edit.ReplaceProject(std::move(song));
        // and a note 60000 buckets long on the clipboard
        CTrack source;
        CNote longNote;
        longNote.length = 60000 * CTrack::kBucketTicks;
        source.AddNote(longNote);
        const std::vector<uint8_t> block = CTrack::CopyNotes(source.Notes());
        auto* data = new QMimeData;
        data->setData(kClipNote, QByteArray(reinterpret_cast<const char*>(block.data()),
                                            static_cast<qsizetype>(block.size())));
        QApplication::clipboard()->setMimeData(data);
        // [WHEN] it is pasted on the piano roll
        frame->PianoRollWnd().setFocus();
        QVERIFY(frame->RunCommand(cmd::kPaste));
        // [THEN] the paste is refused and the song keeps its one note
        QCOMPARE(prompts->Texts(),
                 QStringList{
                     QStringLiteral("音符の量が 1 曲の上限を超えます。\nこの操作はできません。")});
        QCOMPARE(edit.Project().tracks[0].NoteCount(), size_t{1});
        QVERIFY(!edit.CanUndo());
    }

    void fitButtonsDotAndTriplet() {
        CNoteDefaults& notes = frame->NoteDefaults();
        CNoteBar& bar = frame->NoteBar();
        ClickButtonOf(bar, frame->Action(cmd::kFitWhole + 6));
        QCOMPARE(notes.Fit(), 30);
        frame->UpdateCommandStates();
        QVERIFY(frame->Action(cmd::kFitWhole + 6)->isChecked());
        ClickButtonOf(bar, frame->Action(cmd::kFitDotted));
        QCOMPARE(notes.Fit(), 45);
        frame->UpdateCommandStates();
        for (int i = 0; i < cmd::kFitCount; ++i)
            QVERIFY(!frame->Action(cmd::kFitWhole + i)->isChecked());
        notes.SetFit(1);
        ClickButtonOf(bar, frame->Action(cmd::kFitTriplet));
        QCOMPARE(notes.Fit(), 1);
        ClickButtonOf(bar, frame->Action(cmd::kLengthWhole + 2));
        QCOMPARE(notes.Length(), 480);
        ClickButtonOf(bar, frame->Action(cmd::kLengthTriplet));
        QCOMPARE(notes.Length(), 160);
        ClickButtonOf(bar, frame->Action(cmd::kLengthDotted));
        QCOMPARE(notes.Length(), 240);
        frame->UpdateCommandStates();
        QVERIFY(frame->Action(cmd::kLengthWhole + 3)->isChecked());
        QCOMPARE(bar.Field(cmd::kFocusLength)->Value(), 240);
    }

    void noteBarBoxesApplyTheirLimits() {
        CNoteDefaults& notes = frame->NoteDefaults();
        CNoteBar& bar = frame->NoteBar();
        TypeInto(bar.Field(cmd::kFocusKeyoff), "300");
        QCOMPARE(notes.Keyoff(), 255);
        TypeInto(bar.Field(cmd::kFocusVolume), "999");
        QCOMPARE(notes.Volume(), 255);
        TypeInto(bar.Field(cmd::kFocusLength), "0");
        QCOMPARE(notes.Length(), 1);
        TypeInto(bar.Field(cmd::kFocusFit), "0");
        QCOMPARE(notes.Fit(), 1);
        // Enter hands the focus back to the piano roll.
        QVERIFY(frame->PianoRollWnd().hasFocus());
        // Alt+K reaches the key-off box even though it is a menu mnemonic elsewhere.
        QTest::keyClick(frame->PianoRollWnd().viewport(), Qt::Key_K, Qt::AltModifier);
        QVERIFY(bar.Field(cmd::kFocusKeyoff)->hasFocus());
        // Values persist under "Note" when the window closes.
        frame->close();
        QSettings& settings = app->Profile();
        QCOMPARE(settings.value("Note/DefaultKeyoff").toInt(), 255);
        QCOMPARE(settings.value("Note/Fit").toInt(), 1);
        frame.reset();
        MakeFrame();
        QCOMPARE(frame->NoteDefaults().Volume(), 255);
        QCOMPARE(frame->NoteDefaults().Length(), 1);
    }

    void tabSwitchesPanes() {
        frame->PianoRollWnd().setFocus();
        QTest::keyClick(frame->PianoRollWnd().viewport(), Qt::Key_Tab);
        QVERIFY(frame->TrackWnd().hasFocus());
        QTest::keyClick(&frame->TrackWnd(), Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(frame->PianoRollWnd().hasFocus());
    }

    void fullScreenIsKeptAcrossRuns() {
        frame->setGeometry(100, 120, 800, 600);
        QTest::qWait(20);
        const QRect normal = frame->WindowState().NormalRect();
        QCOMPARE(normal.size(), QSize(800, 600));
        QVERIFY(frame->RunCommand(cmd::kFullScreen));
        QVERIFY(frame->isFullScreen());
        QVERIFY(frame->menuBar()->cornerWidget(Qt::TopRightCorner)->isVisible());
        frame->close();
        QSettings& settings = app->Profile();
        QCOMPARE(settings.value("Window State/Fullscreen").toInt(), 1);
        QCOMPARE(settings.value("Window State/Right").toInt() -
                     settings.value("Window State/Left").toInt(),
                 800);
        QCOMPARE(settings.value("Window State/TrackWndWidth").toInt(), CMainFrame::kTrackPaneWidth);
        frame.reset();
        frame = std::make_unique<CMainFrame>(*app, prompts.get(), launcher.get());
        frame->ShowWindow(true);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QVERIFY(frame->isFullScreen());
        QVERIFY(frame->RunCommand(cmd::kFullScreen));
        QVERIFY(!frame->isFullScreen());
        QVERIFY(RunUntil([&] { return frame->geometry().size() == QSize(800, 600); }, 2000));
        QVERIFY(!frame->menuBar()->cornerWidget(Qt::TopRightCorner)->isVisible());
    }

    void damagedWindowStateKeepsAUsableWindow() {
        frame->close();
        QSettings& settings = app->Profile();
        settings.setValue("Window State/Left", 0);
        settings.setValue("Window State/Right", -50);
        settings.setValue("Window State/Top", "garbage");
        settings.setValue("Window State/TrackWndWidth", 1000000);
        settings.setValue("Bar State/State", QByteArray("not a state"));
        frame.reset();
        frame = std::make_unique<CMainFrame>(*app, prompts.get(), launcher.get());
        frame->ShowWindow(true);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QVERIFY(frame->width() >= 200);
        QVERIFY(frame->Splitter().sizes().last() >= 1);
    }

    void dialogCommandsTakeTheEditPathOnOk() {
        CEditController& edit = frame->Edit();
        AcceptNextDialog();
        QVERIFY(frame->RunCommand(cmd::kTrackAdd));
        QCOMPARE(edit.Project().tracks.size(), size_t{2});
        QCOMPARE(edit.Project().tracks[1].settings.name, std::string("トラック2"));
        QCOMPARE(edit.Project().currentTrack, 1);
        QCOMPARE(frame->TrackWnd().currentRow(), 1);
        frame->PianoRollWnd().SetCaret(1920, 40);
        AcceptNextDialog();
        QVERIFY(frame->RunCommand(cmd::kAddTempo));
        const CTempoList& tempos = edit.Project().data.tempos;
        QCOMPARE(tempos.size(), size_t{2});
        QCOMPARE(tempos[1].position, 1920);
        QCOMPARE(tempos[1].tempo, 120.0);
        edit.Unbuilt().clear();
        QVERIFY(frame->RunCommand(cmd::kLoopStartHere));
        QCOMPARE(edit.Project().data.loopEnabled, 1);
        QCOMPARE(edit.Project().data.loopStart, 1920);
        QCOMPARE(edit.Unbuilt(), (CProjectModified{1}));
        QVERIFY(frame->RunCommand(cmd::kUndo));
        QCOMPARE(edit.Project().data.loopEnabled, 0);
        QVERIFY(frame->RunCommand(cmd::kUndo));
        QCOMPARE(edit.Project().data.tempos.size(), size_t{1});
        // A cancelled dialog leaves no undo step.
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        QVERIFY(frame->RunCommand(cmd::kBeatList));
        QCOMPARE(edit.UndoRing().UndoDepth(), 1);
    }

    void droppedFilesOpenTheFirstThatLoads() {
        const QString bad = app->Folder() + "/bad.tqp";
        const QString good = app->Folder() + "/good.tqp";
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("junk");
        file.close();
        QVERIFY(WriteSong(MakeSong(2), good));
        QVERIFY(frame->Document().OpenDropped({bad, good, bad}));
        QCOMPARE(frame->Document().Path(), good);
        QCOMPARE(prompts->shown.size(), 1);
    }

    void openProjectFolderSelectsTheFile() {
        QVERIFY(!Enabled(cmd::kOpenProjectFolder));
        const QString path = app->Folder() + "/f.tqp";
        QVERIFY(WriteSong(MakeSong(1), path));
        QVERIFY(frame->OpenFile(path));
        QVERIFY(frame->RunCommand(cmd::kOpenProjectFolder));
        QCOMPARE(launcher->calls.last(), "select " + path);
    }
};

std::unique_ptr<QObject> MakeFrameCommandsTest() {
    return std::make_unique<FrameCommandsTest>();
}

#include "FrameCommandsTest.moc"
