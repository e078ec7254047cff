// The document life cycle: titles, the save question, open with the unbuilt set from the
// ".tqb" file or the file times, failed loads and saves, save as, import and export.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/CRecentFiles.h"
#include "ui/PathUtil.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

class CountingHooks : public IDocumentHooks {
public:
    int stops = 0;
    int cleanups = 0;
    void StopPlayback() override { ++stops; }
    void DeleteTemporaryBuildFiles() override { ++cleanups; }
};

using Answer = IUserPrompts::Answer;

void SetTime(const QString& path, const QDateTime& time) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Adds a note through the edit path so the song is modified.
void Touch(CEditController& edit) {
    edit.Edit(CEditController::kViewNone, [&](CProject& project) {
        CNote values;
        values.position = 9600;
        edit.MarkNote(project.tracks[0], *project.tracks[0].AddNote(values));
    });
}

} // namespace

class DocumentTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestApp> app;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<CountingHooks> hooks;
    std::unique_ptr<CEditController> edit;
    std::unique_ptr<CDocument> document;

    QString Path(const QString& name) const { return app->Folder() + "/" + name; }

private slots:
    void init() {
        app = std::make_unique<TestApp>();
        prompts = std::make_unique<ScriptedPrompts>();
        hooks = std::make_unique<CountingHooks>();
        edit = std::make_unique<CEditController>();
        document = std::make_unique<CDocument>(*edit, *prompts, *app, *hooks);
        QVERIFY(document->New());
    }

    void cleanup() {
        document.reset();
        edit.reset();
    }

    void titleFollowsPathAndModifiedFlag() {
        QCOMPARE(document->Title(), QStringLiteral("無題 - Tesselaphon Editor"));
        Touch(*edit);
        QCOMPARE(document->Title(), QStringLiteral("無題 * - Tesselaphon Editor"));
        QVERIFY(WriteSong(MakeSong(2), Path("song.tqp")));
        prompts->answers = {Answer::No};
        QVERIFY(document->OpenFile(Path("song.tqp")));
        QCOMPARE(document->Title(), QStringLiteral("song.tqp - Tesselaphon Editor"));
    }

    void saveQuestionCancelNoAndYes() {
        Touch(*edit);
        // Cancel: nothing happens.
        prompts->answers = {Answer::Cancel};
        QVERIFY(!document->New());
        QCOMPARE(edit->Project().tracks[0].NoteCount(), size_t{1});
        QCOMPARE(prompts->shown.last().text,
                 QStringLiteral("ファイルは変更されています。\n\n保存しますか？"));
        QCOMPARE(prompts->shown.last().icon, IUserPrompts::Icon::Warning);
        // Yes with a cancelled chooser: the save fails, so does New.
        prompts->answers = {Answer::Yes};
        QVERIFY(!document->New());
        QCOMPARE(edit->Project().tracks[0].NoteCount(), size_t{1});
        // Yes with a name: saved, then the new song.
        prompts->answers = {Answer::Yes};
        prompts->saveNames = {Path("kept.tqp")};
        QVERIFY(document->New());
        QVERIFY(QFile::exists(Path("kept.tqp")));
        QCOMPARE(edit->Project().tracks[0].NoteCount(), size_t{0});
        QVERIFY(document->Path().isEmpty());
        // No: the changes are dropped without a file.
        Touch(*edit);
        prompts->answers = {Answer::No};
        QVERIFY(document->New());
        QCOMPARE(edit->Project().modified, 0);
    }

    void openWithNewerWavAndNoTqbNeedsNoBuild() {
        const CProject song = MakeSong(8); // 4 s
        QVERIFY(WriteSong(song, Path("a.tqp")));
        WriteBytes(Path("a.wav"), "RIFF");
        const QDateTime now = QDateTime::currentDateTime();
        SetTime(Path("a.tqp"), now.addSecs(-60));
        SetTime(Path("a.wav"), now);
        QVERIFY(document->OpenFile(Path("a.tqp")));
        QCOMPARE(edit->Unbuilt(), (CProjectModified{0, 0, 0, 0}));
        QVERIFY(!edit->Unbuilt().AnySet());
        QCOMPARE(hooks->stops, 2);
        QCOMPARE(hooks->cleanups, 2);
    }

    void openWithOlderOrMissingWavMarksEverything() {
        QVERIFY(WriteSong(MakeSong(8), Path("b.tqp")));
        QVERIFY(document->OpenFile(Path("b.tqp")));
        QCOMPARE(edit->Unbuilt(), (CProjectModified{1, 1, 1, 1}));
        WriteBytes(Path("b.wav"), "RIFF");
        const QDateTime now = QDateTime::currentDateTime();
        SetTime(Path("b.wav"), now.addSecs(-60));
        SetTime(Path("b.tqp"), now);
        QVERIFY(document->OpenFile(Path("b.tqp")));
        QCOMPARE(edit->Unbuilt(), (CProjectModified{1, 1, 1, 1}));
    }

    void openReadsTheTqbFile() {
        QVERIFY(WriteSong(MakeSong(8), Path("c.tqp")));
        QVERIFY(CProject::SaveBuildInfo(ToFsPath(Path("c.tqb")), CProjectModified{0, 1, 0}));
        QVERIFY(document->OpenFile(Path("c.tqp")));
        QCOMPARE(edit->Unbuilt(), (CProjectModified{0, 1, 0}));
        QVERIFY(edit->Unsaved().empty());
        QVERIFY(!edit->CanUndo());
    }

    void failedOpenLeavesTheDocument() {
        Touch(*edit);
        WriteBytes(Path("bad.tqp"), "not a project");
        const QString title = document->Title();
        QVERIFY(!document->OpenFile(Path("bad.tqp")));
        QCOMPARE(prompts->shown.last().text,
                 Path("bad.tqp") +
                     QStringLiteral(" のオープンに失敗しました。\n\nファイルが見つからないか、"
                                    "対応していないか、古い形式です。"));
        QCOMPARE(prompts->shown.last().icon, IUserPrompts::Icon::Error);
        QCOMPARE(document->Title(), title);
        QCOMPARE(edit->Project().tracks[0].NoteCount(), size_t{1});
        QVERIFY(edit->CanUndo());
    }

    void failedRecentEntryIsRemoved() {
        QVERIFY(WriteSong(MakeSong(1), Path("r.tqp")));
        QVERIFY(document->OpenFile(Path("r.tqp")));
        QCOMPARE(document->Recent().Entries().first(), Path("r.tqp"));
        QVERIFY(QFile::remove(Path("r.tqp")));
        QVERIFY(!document->OpenRecent(0));
        QVERIFY(!document->Recent().Entries().contains(Path("r.tqp")));
    }

    void failedSaveKeepsFlagsAndSets() {
        WriteBytes(Path("plain-file"), "x");
        Touch(*edit);
        const CProjectModified unbuilt = edit->Unbuilt();
        prompts->saveNames = {Path("plain-file/song.tqp")};
        QVERIFY(!document->SaveAs());
        QCOMPARE(prompts->shown.last().text,
                 Path("plain-file/song.tqp") + QStringLiteral(" の保存に失敗しました。"));
        QCOMPARE(edit->Project().modified, 1);
        QCOMPARE(edit->Unbuilt(), unbuilt);
        QVERIFY(!edit->Unsaved().empty());
        QVERIFY(document->Path().isEmpty());
    }

    void saveWritesTqbAndClearsUnsaved() {
        Touch(*edit);
        prompts->saveNames = {Path("s.tqp")};
        QVERIFY(document->Save());
        QCOMPARE(edit->Project().modified, 0);
        QVERIFY(edit->Unsaved().empty());
        CProjectModified stored;
        QVERIFY(CProject::LoadBuildInfo(ToFsPath(Path("s.tqb")), stored));
        QCOMPARE(stored, edit->Unbuilt());
        QVERIFY(stored.AnySet());
        QCOMPARE(QString::fromStdString(app->options.projectDefaultPath), app->Folder());
        QCOMPARE(prompts->requests.last().filters.first(),
                 QStringLiteral("Tesselaphon Editor プロジェクト (*.tqp)"));
    }

    void importYesAppendsTracksAndKeepsSongSettings() {
        CProject other = MakeSong(3);
        other.data.tempos.SetAt(0, TEMPO{0, 90.0});
        other.tracks[0].settings.name = "imported";
        QVERIFY(WriteSong(other, Path("other.tqp")));
        prompts->openNames = {Path("other.tqp")};
        prompts->answers = {Answer::Yes};
        QVERIFY(document->Import());
        QCOMPARE(prompts->shown.last().title, QStringLiteral("インポート"));
        QCOMPARE(prompts->shown.last().icon, IUserPrompts::Icon::Question);
        QCOMPARE(edit->Project().tracks.size(), size_t{2});
        QCOMPARE(edit->Project().tracks[1].settings.name, std::string("imported"));
        QCOMPARE(edit->Project().data.tempos[0].tempo, 120.0);
        QCOMPARE(edit->Project().modified, 1);
        QVERIFY(edit->CanUndo());
        QVERIFY(edit->Unbuilt().AnySet());
        edit->Undo();
        QCOMPARE(edit->Project().tracks.size(), size_t{1});
    }

    void importNoReplacesTheSongUntitled() {
        QVERIFY(WriteSong(MakeSong(1), Path("mine.tqp")));
        QVERIFY(document->OpenFile(Path("mine.tqp")));
        Touch(*edit);
        CProject other = MakeSong(4);
        other.data.tempos.SetAt(0, TEMPO{0, 90.0});
        QVERIFY(WriteSong(other, Path("other.tqp")));
        prompts->openNames = {Path("other.tqp")};
        prompts->answers = {Answer::No, Answer::No}; // import as new, then do not save
        QVERIFY(document->Import());
        QVERIFY(document->Path().isEmpty());
        QCOMPARE(edit->Project().data.tempos[0].tempo, 90.0);
        QCOMPARE(edit->Project().tracks[0].NoteCount(), size_t{4});
        QVERIFY(!edit->CanUndo());
        // 4 quarter notes at 90: 2.67 s, so three seconds, all stale
        QCOMPARE(edit->Unbuilt(), (CProjectModified{1, 1, 1}));
    }

    void importCancelChangesNothing() {
        QVERIFY(WriteSong(MakeSong(4), Path("other.tqp")));
        prompts->openNames = {Path("other.tqp")};
        prompts->answers = {Answer::Cancel};
        QVERIFY(!document->Import());
        QCOMPARE(edit->Project().tracks.size(), size_t{1});
        QVERIFY(!edit->CanUndo());
    }

    void importOfDamagedFileShowsItsMessage() {
        WriteBytes(Path("junk.mid"), "MThd junk");
        prompts->openNames = {Path("junk.mid")};
        QVERIFY(!document->Import());
        QCOMPARE(prompts->shown.last().text,
                 Path("junk.mid") +
                     QStringLiteral(" のインポートに失敗しました。\n\nファイルが見つからないか、"
                                    "壊れているか、対応していない形式です。"));
    }

    // [GIVEN] a "ProjectDefaultPath" that is not on disk [WHEN] any project chooser opens
    // [THEN] it starts in the nearest existing folder and never proposes a folder's name
    void choosersStartInTheNearestExistingFolder() {
        app->options.projectDefaultPath = Path("Documents").toStdString();
        Touch(*edit);
        QVERIFY(!document->Save());
        QVERIFY(!document->SaveAs());
        QVERIFY(!document->Export());
        QVERIFY(!document->Import());
        prompts->answers = {Answer::No};
        QVERIFY(!document->OpenWithDialog());
        QCOMPARE(prompts->requests.size(), 5);
        for (const IUserPrompts::FileRequest& request : prompts->requests) {
            QCOMPARE(request.directory, app->Folder());
            QCOMPARE(request.fileName, QString());
        }

        QVERIFY(QDir().mkpath(Path("Documents")));
        QVERIFY(!document->SaveAs());
        QCOMPARE(prompts->requests.last().directory, Path("Documents"));
        QCOMPARE(prompts->requests.last().fileName, QString());

        // A song whose folder went away proposes its own name in the nearest folder left.
        document->SetPath(Path("gone/deeper/song.tqp"));
        QVERIFY(!document->SaveAs());
        QCOMPARE(prompts->requests.last().directory, app->Folder());
        QCOMPARE(prompts->requests.last().fileName, QStringLiteral("song.tqp"));

        app->options.projectDefaultPath.clear();
        QVERIFY(!document->Export());
        QCOMPARE(prompts->requests.last().directory, QDir::homePath());
    }

    void exportWritesMidi() {
        edit->ReplaceProject(MakeSong(4));
        prompts->saveNames = {Path("out.mid")};
        QVERIFY(document->Export());
        QFile file(Path("out.mid"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(4), QByteArray("MThd"));
        prompts->saveNames = {Path("plain-file-x/out.mid")};
        WriteBytes(Path("plain-file-x"), "x");
        QVERIFY(!document->Export());
        QCOMPARE(prompts->shown.last().text,
                 Path("plain-file-x/out.mid") + QStringLiteral(" のエクスポートに失敗しました。"));
    }
};

std::unique_ptr<QObject> MakeDocumentTest() {
    return std::make_unique<DocumentTest>();
}

#include "DocumentTest.moc"
