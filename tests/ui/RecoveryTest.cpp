// Autosave and recovery in one window: when the recovery file is written and removed, the
// start-up question with its answers, the undo history that comes back with a restored
// song (and a damaged one that does not cost the song), damaged and live files, failed
// writes (of the recovery file and the ".tqb"), and a real editor process killed after its
// autosave.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "ui/CAutosave.h"
#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CRecoveryFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

using Answer = IUserPrompts::Answer;

const QString kRecoveryTitle = QStringLiteral("復元");

// A song left behind by an editor that has ended: written, then its lock let go.
QString LeaveOrphan(const CProject& song, const QString& originalPath = {},
                    const std::vector<CProject>& history = {}) {
    QString error;
    std::unique_ptr<CRecoveryFile> file = CRecoveryFile::CreateSession(error);
    if (file == nullptr)
        return {};
    RECOVERY_INFO info{originalPath, QDateTime::currentDateTimeUtc(), int(history.size()), 1};
    if (!file->Write(song, info, history))
        return {};
    return file->SongPath();
}

QStringList RecoveryFiles() {
    return QDir(CRecoveryFile::Folder()).entryList(QDir::Files);
}

void ClearRecoveryFolder() {
    QDir(CRecoveryFile::Folder()).removeRecursively();
}

bool SameSong(const CProject& a, const CProject& b) {
    return a.SaveToBytes() == b.SaveToBytes();
}

CProject NamedSong(const char* name) {
    CProject song = MakeSong(3);
    song.data.name = name;
    return song;
}

// One edit of each kind the history must carry: a note added, a track's sound, the tempo.
void MakeEdits(CEditController& edit, std::vector<std::vector<uint8_t>>& states) {
    const std::function<void(CProject&)> edits[] = {
        [](CProject& p) {
            CNote n;
            n.position = 1920;
            n.length = 240;
            n.key = 72;
            p.tracks[0].AddNote(n);
        },
        [](CProject& p) { p.tracks[0].settings.waveform = kSine; },
        [](CProject& p) { p.data.name = "edited three times"; },
    };
    states.push_back(edit.Project().SaveToBytes());
    for (const auto& change : edits) {
        QVERIFY(edit.Edit(CEditController::kViewAll, change));
        states.push_back(edit.Project().SaveToBytes());
    }
}

} // namespace

class RecoveryTest : public FrameTestBase {
    Q_OBJECT
private slots:
    void init() {
        ClearRecoveryFolder();
        QVERIFY(OpenFrame());
    }
    void cleanup() {
        CloseFrame();
        ClearRecoveryFolder();
    }

    void anEditIsWrittenAfterTheIntervalAndASaveRemovesIt() {
        frame->Autosave().SetInterval(1);
        SetSong(NamedSong("autosaved"));
        QVERIFY(RunUntil(
            [&] { return frame->Autosave().Session() && frame->Autosave().Session()->HasSong(); },
            5000));
        frame->Autosave().WaitForWriter();
        CProject written;
        RECOVERY_INFO info;
        QVERIFY(frame->Autosave().Session()->Read(written, info));
        QVERIFY(SameSong(written, frame->Edit().Project()));
        QCOMPARE(info.pid, QCoreApplication::applicationPid());
        QCOMPARE(info.undoDepth, frame->Edit().UndoRing().UndoDepth());

        const QString path = QDir(app->Folder()).filePath("saved.tqp");
        prompts->saveNames = {path};
        QVERIFY(frame->Document().Save());
        frame->Autosave().WaitForWriter();
        QVERIFY(!frame->Autosave().Session()->HasSong());
    }

    void noIntervalMeansNoTimerButRiskyStepsStillWrite() {
        frame->Autosave().SetInterval(0);
        SetSong(NamedSong("before import"));
        QTest::qWait(50);
        QVERIFY(frame->Autosave().Session() == nullptr);
        prompts->openNames = {QDir(app->Folder()).filePath("missing.mid")};
        QVERIFY(!frame->Document().Import());
        frame->Autosave().WaitForWriter();
        QVERIFY(frame->Autosave().Session() && frame->Autosave().Session()->HasSong());
    }

    void yesRestoresIntoAnUntitledWindowAndTakesTheFileOver() {
        const CProject song = NamedSong("lost song");
        const QString original = QDir(app->Folder()).filePath("original.tqp");
        QVERIFY(WriteSong(MakeSong(1), original));
        const QByteArray originalBytes = [&] {
            QFile f(original);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const QString orphan = LeaveOrphan(song, original);
        QVERIFY(!orphan.isEmpty());
        prompts->answers = {Answer::Yes};
        QVERIFY(frame->OfferRecovery());
        QCOMPARE(prompts->shown.size(), 1);
        QCOMPARE(prompts->shown[0].title, kRecoveryTitle);
        QVERIFY(
            prompts->shown[0].text.startsWith(QStringLiteral("前回の編集内容を復元しますか？")));
        QVERIFY(prompts->shown[0].text.contains(QStringLiteral("lost song")));
        QVERIFY(prompts->shown[0].text.contains(QDir::toNativeSeparators(original)));
        QCOMPARE(frame->Edit().Project().tracks.size(), song.tracks.size());
        QCOMPARE(frame->Edit().Project().data.name, song.data.name);
        QVERIFY(frame->Document().Path().isEmpty());
        QVERIFY(frame->Edit().Project().modified != 0);
        QVERIFY(frame->windowTitle().contains(QStringLiteral("(復元)")));
        QVERIFY(!QFile::exists(orphan));
        QVERIFY(frame->Autosave().Session()->HasSong());
        QFile check(original);
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), originalBytes);
    }

    // The autosave writes the undo steps; a restored window undoes the edits one by one.
    void undoAfterARestoreRetracesTheEditsBeforeTheCrash() {
        frame->Autosave().SetInterval(0);
        SetSong(NamedSong("before the edits"));
        std::vector<std::vector<uint8_t>> states;
        MakeEdits(frame->Edit(), states);
        frame->Autosave().SaveNow();
        frame->Autosave().WaitForWriter();
        CProject song;
        RECOVERY_INFO info;
        std::vector<CProject> history;
        QVERIFY(frame->Autosave().Session()->Read(song, info));
        QVERIFY(frame->Autosave().Session()->ReadHistory(history));
        QCOMPARE(int(history.size()), frame->Edit().UndoRing().UndoDepth());

        prompts->answers = {Answer::No};
        QVERIFY(frame->Document().New());
        QVERIFY(!LeaveOrphan(song, {}, history).isEmpty());
        prompts->answers = {Answer::Yes};
        QVERIFY(frame->OfferRecovery());
        QCOMPARE(frame->Edit().UndoRing().UndoDepth(), int(history.size()));
        QVERIFY(frame->Edit().Project().SaveToBytes() == states.back());
        for (size_t back = states.size() - 1; back-- > 0;) {
            QVERIFY(frame->Edit().CanUndo());
            frame->Edit().Undo();
            QVERIFY2(frame->Edit().Project().SaveToBytes() == states[back],
                     qPrintable(QStringLiteral("state %1").arg(back)));
        }
    }

    void aDamagedOrMissingHistoryRestoresTheSongWithoutIt_data() {
        QTest::addColumn<QByteArray>("history");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("garbage") << QByteArray("garbage");
        QTest::newRow("cut short") << QByteArray("TSQUNDO1\x02\0\0\0\x10\0\0\0", 16);
    }
    void aDamagedOrMissingHistoryRestoresTheSongWithoutIt() {
        QFETCH(QByteArray, history);
        const CProject song = NamedSong("history lost");
        const QString orphan = LeaveOrphan(song, {}, {MakeSong(1), MakeSong(2)});
        QString historyPath = orphan;
        historyPath.replace(QStringLiteral(".tqp"), QStringLiteral(".undo"));
        QVERIFY(QFile::exists(historyPath));
        QFile::remove(historyPath);
        if (!history.isEmpty()) {
            QFile file(historyPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(history);
        }
        prompts->answers = {Answer::Yes};
        QVERIFY(frame->OfferRecovery());
        QCOMPARE(prompts->shown.size(), 1);
        QCOMPARE(frame->Edit().Project().data.name, song.data.name);
        QVERIFY(!frame->Edit().CanUndo());
        QVERIFY(!QFile::exists(historyPath));
    }

    void noKeepsTheFileUntilItIsDiscarded() {
        const QString orphan = LeaveOrphan(NamedSong("kept"));
        prompts->answers = {Answer::No, Answer::No};
        QVERIFY(!frame->OfferRecovery());
        QVERIFY(QFile::exists(orphan));
        prompts->shown.clear();
        prompts->answers = {Answer::No, Answer::Yes};
        QVERIFY(!frame->OfferRecovery());
        QCOMPARE(prompts->shown.size(), 2);
        QVERIFY(RecoveryFiles().isEmpty());
    }

    void aLiveEditorsFileIsNeitherOfferedNorTaken() {
        QString error;
        std::unique_ptr<CRecoveryFile> live = CRecoveryFile::CreateSession(error);
        QVERIFY(live != nullptr);
        QVERIFY(live->Write(NamedSong("live"), {{}, QDateTime::currentDateTimeUtc(), 0, 1}));
        QVERIFY(!frame->OfferRecovery());
        QVERIFY(prompts->shown.isEmpty());
        QVERIFY(live->HasSong());
    }

    void damagedFilesAreRefusedWithAMessage_data() {
        QTest::addColumn<bool>("damageSong");
        QTest::newRow("song") << true;
        QTest::newRow("side file") << false;
    }
    void damagedFilesAreRefusedWithAMessage() {
        QFETCH(bool, damageSong);
        const QString orphan = LeaveOrphan(NamedSong("damaged"));
        QString target = orphan;
        if (!damageSong)
            target.replace(QStringLiteral(".tqp"), QStringLiteral(".info"));
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("garbage");
        file.close();
        prompts->answers = {Answer::Ok, Answer::No};
        QVERIFY(!frame->OfferRecovery());
        QCOMPARE(prompts->shown.size(), 2);
        QCOMPARE(prompts->shown[0].icon, IUserPrompts::Icon::Error);
        QVERIFY(prompts->shown[0].text.contains(QStringLiteral("壊れている")));
        QVERIFY(QFile::exists(orphan));
        QVERIFY(!frame->windowTitle().contains(QStringLiteral("(復元)")));
    }

    void aFailedWriteIsReportedAndNothingIsTaken() {
        frame->Autosave().SetInterval(0);
        SetSong(NamedSong("first"));
        frame->Autosave().SaveNow();
        frame->Autosave().WaitForWriter();
        const CRecoveryFile* session = frame->Autosave().Session();
        QVERIFY(session && session->HasSong());
        // A folder in the song's place: the rename over it fails like a full disk.
        QVERIFY(QFile::remove(session->SongPath()));
        QVERIFY(QDir().mkdir(session->SongPath()));
        QSignalSpy failed(&frame->Autosave(), &CAutosave::writeFailed);
        SetSong(NamedSong("second"));
        frame->Autosave().SaveNow();
        frame->Autosave().WaitForWriter();
        QVERIFY(RunUntil([&] { return failed.count() == 1; }, 2000));
        QVERIFY(failed[0][0].toString().startsWith(QStringLiteral("自動保存に失敗しました。")));
        QVERIFY(QDir().rmdir(session->SongPath()));
    }

    // A folder in the place of the ".tqb": the project is saved, the failure is told.
    void aBuildInfoThatCannotBeWrittenIsReported() {
        const QString path = QDir(app->Folder()).filePath("blocked.tqp");
        QVERIFY(QDir().mkpath(QDir(app->Folder()).filePath("blocked.tqb/inside")));
        SetSong(NamedSong("blocked"));
        prompts->saveNames = {path};
        QVERIFY(frame->Document().Save());
        QVERIFY(QFile::exists(path));
        QCOMPARE(prompts->shown.size(), 1);
        QCOMPARE(prompts->shown[0].icon, IUserPrompts::Icon::Error);
        QVERIFY(
            prompts->shown[0].text.contains(QStringLiteral("blocked.tqb の保存に失敗しました")));
    }

    void aNewDocumentRemovesTheFile() {
        frame->Autosave().SetInterval(0);
        SetSong(NamedSong("given up"));
        frame->Autosave().SaveNow();
        prompts->answers = {Answer::No};
        QVERIFY(frame->Document().New());
        frame->Autosave().WaitForWriter();
        QVERIFY(!frame->Autosave().Session()->HasSong());
    }
};

// The real thing: an editor process that autosaves, is killed and is started again.
class RecoveryProcessTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> home;

    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home->filePath("config"));
        env.insert("XDG_STATE_HOME", home->filePath("state"));
        env.insert("XDG_DATA_HOME", home->filePath("data"));
        env.insert("HOME", home->path());
        env.insert("TMPDIR", home->filePath("tmp"));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("TSQ_AUDIO_DEVICE", "null");
        return env;
    }
    static QString Helper() { return QStringLiteral(TSQ_BINARY_DIR "/tests/tsq_recovery_editor"); }
    // Starts an editor that edits, waits for its autosave and then keeps running.
    bool StartEditing(QProcess& process) {
        process.setProcessEnvironment(Environment());
        process.start(Helper(), {QStringLiteral("edit")});
        QByteArray output;
        return process.waitForStarted(10000) && RunUntil(
                                                    [&] {
                                                        output += process.readAllStandardOutput();
                                                        return output.contains("autosaved");
                                                    },
                                                    30000);
    }
    // Starts an editor that answers the question with `answer`; its report.
    QByteArray Restore(const char* answer) {
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.start(Helper(), {QStringLiteral("restore"), QString::fromLatin1(answer)});
        if (!process.waitForFinished(60000))
            return {};
        return process.readAllStandardOutput();
    }

private slots:
    void init() {
        home = std::make_unique<QTemporaryDir>();
        QDir().mkpath(home->filePath("tmp"));
        QDir().mkpath(home->filePath("config/Ostrova"));
        QFile settings(home->filePath("config/Ostrova/Tesselaphon Editor.conf"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[Recovery]\nAutosaveSeconds=1\n");
    }

    void aKilledEditorsEditsAreOfferedAndRestored() {
        QProcess editor;
        QVERIFY(StartEditing(editor));
        editor.kill();
        QVERIFY(editor.waitForFinished(10000));
        const QByteArray report = Restore("yes");
        QVERIFY2(report.contains("offers=1"), report.constData());
        QVERIFY2(report.contains(",edited by the killed editor\n"), report.constData());
        QVERIFY2(report.contains("(復元)"), report.constData());
    }

    void twoEditorsAtOnceDoNotShareTheFile() {
        QProcess editor;
        QVERIFY(StartEditing(editor));
        const QByteArray report = Restore("yes");
        QVERIFY2(report.contains("offers=0"), report.constData());
        editor.kill();
        QVERIFY(editor.waitForFinished(10000));
        QVERIFY2(Restore("no").contains("offers=1"), "the file outlives a No");
        QVERIFY(Restore("yes").contains("offers=1"));
    }
};

std::unique_ptr<QObject> MakeRecoveryTest() {
    return std::make_unique<RecoveryTest>();
}

std::unique_ptr<QObject> MakeRecoveryProcessTest() {
    return std::make_unique<RecoveryProcessTest>();
}

#include "RecoveryTest.moc"
