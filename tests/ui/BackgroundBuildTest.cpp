// The build on its own thread, seen from the window: the event loop keeps running while it
// renders, the abort button stops it, the sample question is answered on the user-interface
// thread and the answer reaches the build, the build renders the song as it was when it
// started, and closing the window or the document while it runs loses nothing.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "audio/CAudioFile.h"
#include "engine/CBuild.h"
#include "ui/CBuildController.h"
#include "ui/CBuildProgressDialog.h"
#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/PathUtil.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <atomic>
#include <utility>

namespace {

// Counts the paint events of one widget and its children.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Answers the sample question with Ignore, for reference builds outside the editor.
class IgnoreSamples : public IBuildEvents {
public:
    void Progress(const BuildProgress&) override {}
    SampleAnswer SampleFailed(const std::string&) override { return SampleAnswer::Ignore; }
    void OutputFailed(const std::string&) override {}
    void Done(const BuildOutcome&) override {}
};

// The WAV file a full build of `song` writes, made by the engine directly.
QByteArray ReferenceBuild(CProject song, const QString& path) {
    IgnoreSamples events;
    CAudioFile loader;
    const std::atomic<bool> stop{false};
    CProjectModified flags;
    CBuild build(events, loader, 1, stop);
    if (!build.Build(ToFsPath(path), song, flags, true))
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void AppendLittleEndian(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

// A one-second 16-bit mono sample of a square wave at 8000 Hz.
bool WriteSample(const QString& path) {
    constexpr quint32 kDataSize = 16000;
    QByteArray bytes("RIFF");
    AppendLittleEndian(bytes, 36 + kDataSize, 4);
    bytes.append("WAVEfmt ");
    for (const auto& [value, size] :
         {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {8000u, 4}, {16000u, 4}, {2u, 2}, {16u, 2}})
        AppendLittleEndian(bytes, value, size);
    bytes.append("data");
    AppendLittleEndian(bytes, kDataSize, 4);
    for (quint32 i = 0; i < kDataSize / 2; ++i)
        AppendLittleEndian(bytes, i % 16 < 8 ? 0x2000 : 0xE000, 2);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool ValidWave(const QByteArray& wav) {
    return wav.size() >= 44 && wav.startsWith("RIFF") &&
           qFromLittleEndian<quint32>(wav.constData() + 4) == quint32(wav.size() - 8) &&
           44 + qFromLittleEndian<quint32>(wav.constData() + 40) <= quint32(wav.size());
}

} // namespace

class BackgroundBuildTest : public FrameTestBase {
    Q_OBJECT
private:
    CBuildController& Builds() { return frame->Builds(); }

    // A song of `seconds` seconds whose second track plays the sample at `samplePath`.
    static CProject SongWithSample(int seconds, const QString& samplePath) {
        CProject song = MakeSong(seconds * 2);
        CTrack sampled = song.tracks[0];
        sampled.settings.waveform = kPcm;
        sampled.settings.pcm.fileName = samplePath.toStdString();
        song.tracks.push_back(std::move(sampled));
        return song;
    }

    // The window of an earlier build may linger, hidden, until it is deleted.
    CBuildProgressDialog* ShownProgress() const {
        for (auto* dialog : frame->findChildren<CBuildProgressDialog*>("buildProgress"))
            if (dialog->isVisible())
                return dialog;
        return nullptr;
    }

    // Runs the event loop until the progress window shows rendered seconds.
    bool WaitForRendering(int timeoutMs = 60000) {
        return RunUntil(
            [&] {
                CBuildProgressDialog* dialog = ShownProgress();
                auto* bar = dialog != nullptr ? dialog->findChild<QProgressBar*>() : nullptr;
                return bar != nullptr && dialog->AbortButton()->isEnabled() && bar->value() > 0;
            },
            timeoutMs);
    }

    // Clicks "中止(&A)" and waits for the build to end; its result.
    bool ClickAbort(QSignalSpy& finished) {
        CBuildProgressDialog* dialog = ShownProgress();
        if (dialog == nullptr)
            return true;
        QTest::mouseClick(dialog->AbortButton(), Qt::LeftButton);
        if (finished.isEmpty() && !finished.wait(60000))
            return true;
        return finished.first().at(0).toBool();
    }

    // Starts the build of an untitled ten-minute song on one thread and waits until it
    // renders.
    bool StartLongBuild() {
        app->options.buildThreads = 1;
        SetSong(MakeSong(1200));
        frame->Edit().SetModifiedFlag(false);
        Builds().Build(false);
        return WaitForRendering();
    }

    // A saved ten-minute song, open in the window, built on one thread.
    QString OpenLongSavedSong() {
        app->options.buildThreads = 1;
        const QString path = app->Folder() + "/long.tqp";
        if (!WriteSong(MakeSong(1200), path) || !frame->OpenFile(path))
            return {};
        return path;
    }

private slots:
    void init() { QVERIFY(OpenFrame()); }

    void cleanup() { CloseFrame(); }

    void theEventLoopRunsWhileTheBuildRenders() {
        app->options.buildThreads = 1;
        SetSong(MakeSong(1200)); // ten minutes
        int ticks = 0;
        QTimer zero;
        zero.setInterval(0);
        connect(&zero, &QTimer::timeout, this, [&] { ++ticks; });
        zero.start();
        QSignalSpy finished(&Builds(), &CBuildController::buildFinished);

        // [WHEN] the build starts [THEN] the call returns while the build still runs: it
        // renders elsewhere, not inside the call and not inside an event loop of its own
        Builds().Build(false);
        QVERIFY(Builds().IsBuilding());
        QCOMPARE(ticks, 0);
        QVERIFY(finished.isEmpty());

        // [THEN] timers fire and the progress window repaints while it renders
        PaintCounter paints;
        QVERIFY(RunUntil([&] { return ShownProgress() != nullptr; }, 60000));
        CBuildProgressDialog* dialog = ShownProgress();
        auto* bar = dialog->findChild<QProgressBar*>();
        bar->installEventFilter(&paints);
        QVERIFY(WaitForRendering());
        const int ticksWhileRendering = ticks;
        QVERIFY(
            RunUntil([&] { return paints.paints > 0 && ticks > ticksWhileRendering + 10; }, 60000));
        QVERIFY(Builds().IsBuilding());
        QVERIFY(!frame->isEnabled());
        QVERIFY(dialog->isEnabled());
        const QString title = frame->Document().Title();
        QVERIFY2(frame->windowTitle().endsWith("%] " + title), qPrintable(frame->windowTitle()));

        // [WHEN] the abort button is clicked [THEN] the build ends, cancelled
        QVERIFY(!ClickAbort(finished));
        QVERIFY(!Builds().IsBuilding());
        QVERIFY(frame->isEnabled());
        QCOMPARE(frame->windowTitle(), title);
        QVERIFY(ShownProgress() == nullptr);
        QVERIFY(frame->Edit().Unbuilt().AnySet());
        QVERIFY(ValidWave(ReadAll(Builds().WavPath())));
    }

    void escapeAndTheCloseButtonOfTheProgressWindowAbortToo() {
        for (const bool useEscape : {true, false}) {
            QSignalSpy finished(&Builds(), &CBuildController::buildFinished);
            QVERIFY(StartLongBuild());
            CBuildProgressDialog* dialog = ShownProgress();
            if (useEscape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->close();
            QVERIFY(!dialog->AbortButton()->isEnabled());
            QVERIFY(!finished.isEmpty() || finished.wait(60000));
            QVERIFY(!finished.first().at(0).toBool());
        }
    }

    void theSampleQuestionIsAnsweredOnTheWindowsThreadAndReachesTheBuild() {
        const QString sample = app->Folder() + "/kick.wav";
        const QString question =
            QStringLiteral("PCM ファイルを開けません。ファイルが存在しないか、対応していない形式"
                           "です。\n\n") +
            sample;
        struct CASE {
            const char* name;
            QList<IUserPrompts::Answer> answers;
            bool sampleAppearsOnRetry;
            int questions;
            bool built;
            bool silentPcm; // the WAV equals the song without its sample
        };
        using A = IUserPrompts::Answer;
        const QList<CASE> cases{
            {"abort", {A::Abort}, false, 1, false, false},
            {"ignore", {A::Ignore}, false, 1, true, true},
            {"retry finds the file", {A::Retry}, true, 1, true, false},
            {"retry, then abort", {A::Retry, A::Abort}, false, 2, false, false},
        };
        for (const CASE& c : cases) {
            QFile::remove(sample);
            const CProject song = SongWithSample(2, sample);
            SetSong(song);
            QFile::remove(Builds().WavPath());
            prompts->shown.clear();
            prompts->answers = c.answers;
            bool onWindowThread = true;
            prompts->onMessage = [&](const ScriptedPrompts::SHOWN&) {
                onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
                if (c.sampleAppearsOnRetry)
                    QVERIFY(WriteSample(sample));
            };
            bool built = !c.built;
            QVERIFY(AwaitBuild(
                Builds(), [&] { Builds().Build(false); }, &built));
            prompts->onMessage = {};
            QCOMPARE(built, c.built);
            QVERIFY2(onWindowThread, c.name);
            QCOMPARE(prompts->shown.size(), c.questions);
            for (const ScriptedPrompts::SHOWN& shown : prompts->shown) {
                QCOMPARE(shown.text, question);
                QCOMPARE(shown.title, QStringLiteral("ビルド"));
                QCOMPARE(shown.icon, IUserPrompts::Icon::Warning);
                QCOMPARE(shown.buttons, IUserPrompts::Buttons::AbortRetryIgnore);
            }
            const QByteArray wav = ReadAll(Builds().WavPath());
            if (!c.built) {
                QVERIFY2(wav.isEmpty(), c.name);
                QVERIFY(frame->Edit().Unbuilt().AnySet());
                continue;
            }
            CProject withoutSample = song;
            withoutSample.tracks[1].settings.mute = 1;
            const QByteArray silentPcm =
                ReferenceBuild(withoutSample, app->Folder() + "/reference.wav");
            QVERIFY(!silentPcm.isEmpty());
            QCOMPARE(wav == silentPcm, c.silentPcm);
        }
    }

    void theBuildRendersTheSongAsItWasWhenItStarted() {
        // [GIVEN] a build held at the sample question, and an edit made while it waits
        const QString sample = app->Folder() + "/missing.wav";
        const CProject before = SongWithSample(3, sample);
        SetSong(before);
        prompts->answers = {IUserPrompts::Answer::Ignore};
        prompts->onMessage = [&](const ScriptedPrompts::SHOWN&) {
            QVERIFY(Builds().IsBuilding());
            frame->Edit().Edit(CEditController::kViewAll, [&](CProject& project) {
                project.tracks[0].settings.waveform = 3; // square to sine
                frame->Edit().MarkAll();
            });
        };
        bool built = false;
        QVERIFY(AwaitBuild(
            Builds(), [&] { Builds().Build(false); }, &built));
        prompts->onMessage = {};
        QVERIFY(built);

        // [THEN] the file holds the song as it was; the editor holds the edit, still stale
        QCOMPARE(ReadAll(Builds().WavPath()),
                 ReferenceBuild(before, app->Folder() + "/before.wav"));
        QCOMPARE(frame->Edit().Project().tracks[0].settings.waveform, 3);
        QCOMPARE(frame->windowTitle(), frame->Document().Title());
        const CProjectModified& unbuilt = frame->Edit().Unbuilt();
        QVERIFY(unbuilt.size() >= 3);
        QCOMPARE(unbuilt.CountSet(unbuilt.size()), unbuilt.size());

        // [WHEN] it is built again [THEN] the file follows the edit
        prompts->answers = {IUserPrompts::Answer::Ignore};
        QVERIFY(AwaitBuild(
            Builds(), [&] { Builds().Build(false); }, &built));
        QVERIFY(built);
        QCOMPARE(ReadAll(Builds().WavPath()),
                 ReferenceBuild(frame->Edit().Project(), app->Folder() + "/after.wav"));
        QVERIFY(!frame->Edit().Unbuilt().AnySet());
        QVERIFY(ReadAll(app->Folder() + "/before.wav") != ReadAll(app->Folder() + "/after.wav"));
    }

    void anAbortedBuildOfASavedSongIsRememberedInItsBuildInfo() {
        const QString path = OpenLongSavedSong();
        QVERIFY(!path.isEmpty());
        QSignalSpy finished(&Builds(), &CBuildController::buildFinished);
        Builds().Build(false);
        QVERIFY(WaitForRendering());
        QVERIFY(!ClickAbort(finished));
        const CProjectModified unbuilt = frame->Edit().Unbuilt();
        QVERIFY(unbuilt.AnySet());
        QVERIFY(unbuilt.CountSet(unbuilt.size()) < unbuilt.size());
        // The ".tqb" names the seconds still to render, so opening the song again keeps them.
        QVERIFY(frame->OpenFile(path));
        QCOMPARE(frame->Edit().Unbuilt(), unbuilt);
    }

    void closingTheWindowDuringABuildIsRefused() {
        QSignalSpy finished(&Builds(), &CBuildController::buildFinished);
        QVERIFY(StartLongBuild());
        QVERIFY(!frame->close());
        QVERIFY(frame->isVisible());
        QVERIFY(Builds().IsBuilding());
        QVERIFY(!ClickAbort(finished));
    }

    void theProgramEndingDuringABuildStopsItAndKeepsTheRest() {
        // [GIVEN] a saved song whose build is rendering
        const QString path = OpenLongSavedSong();
        QVERIFY(!path.isEmpty());
        const QString wav = Builds().WavPath();
        Builds().Build(false);
        QVERIFY(WaitForRendering());

        // [WHEN] the window goes without being closed (the program ends)
        frame.reset();

        // [THEN] the file is a valid WAV file and the ".tqb" names what is left to render
        QVERIFY(ValidWave(ReadAll(wav)));
        CProjectModified stale;
        QVERIFY(CProject::LoadBuildInfo(ToFsPath(ReplaceExtension(path, ".tqb")), stale));
        QVERIFY(stale.AnySet());
        QVERIFY(stale.CountSet(stale.size()) < stale.size());
    }

    void replacingTheDocumentDuringABuildStopsItFirst() {
        // [GIVEN] an untitled song building into its temporary WAV file
        QSignalSpy finished(&Builds(), &CBuildController::buildFinished);
        QVERIFY(StartLongBuild());
        const QString folder = QFileInfo(Builds().WavPath()).absolutePath();

        // [WHEN] a new song replaces it [THEN] the build has stopped before its files went
        QVERIFY(frame->Document().New());
        QVERIFY(!Builds().IsBuilding());
        QCOMPARE(finished.size(), 1);
        QVERIFY(!finished.first().at(0).toBool());
        QVERIFY(!QFileInfo::exists(folder));
        QVERIFY(frame->isEnabled());
        QVERIFY(ShownProgress() == nullptr);
    }
};

std::unique_ptr<QObject> MakeBackgroundBuildTest() {
    return std::make_unique<BackgroundBuildTest>();
}

#include "BackgroundBuildTest.moc"
