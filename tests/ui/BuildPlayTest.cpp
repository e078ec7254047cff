// Build, encode and playback through the frame: the progress window and its abort
// button, temporary build files of an untitled song, save as after a build, the play line
// during playback on the silent device, and the outside programs.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "ui/CBuildController.h"
#include "ui/CBuildProgressDialog.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CPlaybackController.h"
#include "ui/CommandIds.h"
#include "ui/PathUtil.h"
#include "ui/bars/CPlayBar.h"
#include "ui/pianoroll/CPianoRollWnd.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cmath>

class BuildPlayTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestApp> app;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<RecordingLauncher> launcher;
    std::unique_ptr<CMainFrame> frame;

    // Puts a song into the window through the edit path, as if typed in.
    void SetSong(const CProject& song) {
        CEditController& edit = frame->Edit();
        edit.Edit(CEditController::kViewAll, [&](CProject& project) {
            project = song;
            edit.MarkAll();
        });
    }

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        prompts = std::make_unique<ScriptedPrompts>();
        launcher = std::make_unique<RecordingLauncher>();
        frame = std::make_unique<CMainFrame>(*app, prompts.get(), launcher.get());
        frame->ShowWindow(false);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    void cleanup() {
        frame->Edit().SetModifiedFlag(false);
        frame->close();
        frame.reset();
    }

    void abortedBuildKeepsUnrenderedSecondsStale() {
        app->options.buildThreads = 1;
        SetSong(MakeSong(1200)); // ten minutes
        bool sawProgress = false;
        QTimer clicker;
        clicker.setInterval(1);
        connect(&clicker, &QTimer::timeout, this, [&] {
            auto* dialog = frame->findChild<CBuildProgressDialog*>("buildProgress");
            if (dialog == nullptr || !dialog->isVisible())
                return;
            sawProgress = true;
            QCOMPARE(dialog->windowTitle().left(3), QStringLiteral("ビルド"));
            QVERIFY(!frame->isEnabled());
            QVERIFY(dialog->isEnabled());
            auto* bar = dialog->findChild<QProgressBar*>();
            if (dialog->AbortButton()->isEnabled() && bar != nullptr && bar->value() > 0) {
                QCOMPARE(dialog->AbortButton()->text(), QStringLiteral("中止(&A)"));
                QTest::mouseClick(dialog->AbortButton(), Qt::LeftButton);
                clicker.stop();
            }
        });
        clicker.start();
        QVERIFY(!frame->Builds().Build(false));
        QVERIFY(sawProgress);
        QVERIFY(frame->isEnabled());
        const CProjectModified& unbuilt = frame->Edit().Unbuilt();
        QVERIFY(unbuilt.AnySet());
        QVERIFY(unbuilt.CountSet(unbuilt.size()) < unbuilt.size());
        QFile wav(frame->Builds().WavPath());
        QVERIFY(wav.open(QIODevice::ReadOnly));
        QCOMPARE(wav.read(4), QByteArray("RIFF"));
        QVERIFY(prompts->shown.isEmpty());
    }

    void untitledBuildReusesItsTemporaryFiles() {
        SetSong(MakeSong(8));
        QVERIFY(frame->RunCommand(cmd::kBuild));
        const QString project = frame->Builds().TemporaryProjectPath();
        QVERIFY(project.contains("tsq_temp_projects/tsq"));
        QVERIFY(project.endsWith(".tqp"));
        QVERIFY(QFile::exists(frame->Builds().WavPath()));
        QVERIFY(!frame->Edit().Unbuilt().AnySet());
        SetSong(MakeSong(6));
        QVERIFY(frame->Builds().Build(false));
        QCOMPARE(frame->Builds().TemporaryProjectPath(), project);
        // New drops the temporary project: its WAV file and folder are gone.
        const QString folder = QFileInfo(project).absolutePath();
        frame->Edit().SetModifiedFlag(false);
        QVERIFY(frame->RunCommand(cmd::kFileNew));
        QVERIFY(!QFileInfo::exists(folder));
    }

    void saveAsAfterBuildMarksEverythingStale() {
        SetSong(MakeSong(8)); // 4 s
        QVERIFY(frame->Builds().Build(false));
        const QString tempWav = frame->Builds().WavPath();
        const QString folder = QFileInfo(tempWav).absolutePath();
        QVERIFY(QFile::exists(tempWav));
        const QString path = app->Folder() + "/saved.tqp";
        prompts->saveNames = {path};
        QVERIFY(frame->RunCommand(cmd::kFileSaveAs));
        QVERIFY(!QFile::exists(tempWav));
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(frame->Builds().TemporaryProjectPath().isEmpty());
        QCOMPARE(frame->Document().Path(), path);
        QCOMPARE(frame->Edit().Unbuilt(), (CProjectModified{1, 1, 1, 1}));
        QCOMPARE(frame->windowTitle(), QStringLiteral("saved.tqp - Tesselaphon Editor"));
    }

    void playMovesThePlayLineAndStopReturnsIt() {
        SetSong(MakeSong(16)); // 8 s
        CPianoRollWnd& roll = frame->PianoRollWnd();
        QVERIFY(frame->RunCommand(cmd::kPlay));
        QVERIFY(frame->Playback().IsPlaying());
        QVERIFY(!frame->Action(cmd::kPlay)->isEnabled());
        QVERIFY(frame->Action(cmd::kStop)->isEnabled());
        QVERIFY(RunUntil([&] { return roll.PlayLine() > 240; }, 3000));
        // The fast-forward button acts on the press (and repeats while held), not on release.
        auto* forward = frame->findChild<QToolButton*>(
            QStringLiteral("repeatcommand%1").arg(cmd::kFastForward));
        QVERIFY(forward != nullptr);
        QCOMPARE(forward->autoRepeatDelay(), CPlayBar::kRepeatDelayMs);
        QCOMPARE(forward->autoRepeatInterval(), CPlayBar::kRepeatIntervalMs);
        QSignalSpy forwards(frame->Action(cmd::kFastForward), &QAction::triggered);
        QTest::mousePress(forward, Qt::LeftButton);
        QCOMPARE(forwards.count(), 1);
        QTest::mouseRelease(forward, Qt::LeftButton);
        QCOMPARE(forwards.count(), 1);
        QVERIFY(RunUntil([&] { return roll.PlayLine() > 1920; }, 1000));
        QVERIFY(frame->RunCommand(cmd::kStop));
        QVERIFY(!frame->Playback().IsPlaying());
        QCOMPARE(roll.PlayLine(), 0);
        QVERIFY(frame->Action(cmd::kPlay)->isEnabled());
        // From the caret, and F8 moves the play start there.
        roll.SetCaret(3840, 40);
        QVERIFY(frame->RunCommand(cmd::kPlayFromCaret));
        QVERIFY(RunUntil([&] { return roll.PlayLine() >= 3840; }, 2000));
        QVERIFY(frame->RunCommand(cmd::kRewind));
        QVERIFY(frame->RunCommand(cmd::kStop));
        QVERIFY(frame->RunCommand(cmd::kSetPlayStart));
        QCOMPARE(frame->Playback().PlayStart(), 3840);
        QCOMPARE(roll.PlayLine(), 3840);
    }

    void playbackEndsByItself() {
        SetSong(MakeSong(1)); // half a second, plus the silence around it
        frame->Edit().Edit(CEditController::kViewNone, [](CProject& p) {
            p.data.startDummy = 0;
            p.data.endDummy = 0;
        });
        QVERIFY(frame->RunCommand(cmd::kPlay));
        QVERIFY(RunUntil([&] { return !frame->Playback().IsPlaying(); }, 3000));
        QVERIFY(RunUntil([&] { return frame->Action(cmd::kPlay)->isEnabled(); }, 1000));
        QCOMPARE(frame->PianoRollWnd().PlayLine(), 0);
    }

    void missingWavWithNothingStaleDoesNotPlay() {
        const QString path = app->Folder() + "/nowav.tqp";
        QVERIFY(WriteSong(MakeSong(4), path));
        QVERIFY(CProject::SaveBuildInfo(ToFsPath(app->Folder() + "/nowav.tqb"), {0, 0}));
        QVERIFY(frame->OpenFile(path));
        QVERIFY(frame->RunCommand(cmd::kPlay));
        QVERIFY(!frame->Playback().IsPlaying());
        QVERIFY(prompts->shown.isEmpty());
    }

    void encodeWithoutEncoderSaysSo() {
        const QString path = app->Folder() + "/enc.tqp";
        QVERIFY(WriteSong(MakeSong(4), path));
        QVERIFY(frame->OpenFile(path));
        QVERIFY(frame->RunCommand(cmd::kEncode));
        QCOMPARE(prompts->shown.size(), 1);
        QCOMPARE(prompts->shown.first().text, QStringLiteral("エンコーダが見つかりません。"));
        QCOMPARE(prompts->shown.first().title, QStringLiteral("エンコード"));
        QCOMPARE(prompts->shown.first().icon, IUserPrompts::Icon::Error);
        QVERIFY(QFile::exists(app->Folder() + "/enc.wav"));
    }

    void outsidePlayersGetTheWav() {
        const QString path = app->Folder() + "/out.tqp";
        QVERIFY(WriteSong(MakeSong(2), path));
        QVERIFY(frame->OpenFile(path));
        const QString wav = app->Folder() + "/out.wav";
        QVERIFY(frame->RunCommand(cmd::kPlaySonalo));
        QCOMPARE(launcher->calls.last(), "start " + app->Folder() + "/Sonalo " + wav);
        QVERIFY(frame->RunCommand(cmd::kPlayDefaultPlayer));
        QCOMPARE(launcher->calls.last(), "open " + wav);
        launcher->result = false;
        QVERIFY(frame->RunCommand(cmd::kPlaySonalo));
        QCOMPARE(prompts->shown.last().text,
                 QStringLiteral("TSQ Sonalo を開くことができませんでした。"));
        QVERIFY(frame->RunCommand(cmd::kPlayDefaultPlayer));
        QCOMPARE(prompts->shown.last().text,
                 QStringLiteral("既定のプレイヤーを開くことができませんでした。"));
    }
};

std::unique_ptr<QObject> MakeBuildPlayTest() {
    return std::make_unique<BuildPlayTest>();
}

#include "BuildPlayTest.moc"
