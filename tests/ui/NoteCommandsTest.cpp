// The piano roll's note commands that move notes in and out of the song: the "TSQ_NOTE"
// clipboard, delete, splitting, the selection commands, find and jump, and inserting and
// deleting measures with their refusals. Each edit is checked for its undo round trip and
// for the seconds it marks.

#include "NoteCommandsTestRig.h"

#include "common/ClipboardFormats.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "ui/CommandIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace dlgtest;

namespace {

using Spans = std::vector<std::pair<int32_t, int32_t>>;
using Ticks = std::vector<int32_t>;

void ClearClipboard() {
    QApplication::clipboard()->setMimeData(new QMimeData);
}

// Types the measure and the count into the measure dialog and presses OK.
DialogScript::Driver MeasureAnswer(const QString& measure, const QString& count) {
    return [measure, count](QDialog& dialog) {
        TypeOver(Child<CNumberEdit>(&dialog, "measure"), measure);
        TypeOver(Child<CNumberEdit>(&dialog, "count"), count);
        Click(OkButton(&dialog));
    };
}

} // namespace

class NoteCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // [GIVEN] notes at 480 and 960, copied  [WHEN] pasted with the caret at 1920
    // [THEN] copies at 1920 and 2400 are the selection, only their second is marked, and
    // undo and redo restore both songs
    void pasteKeepsTheSpacingAtTheCaret() {
        NoteRig rig;
        rig.Add(480, 240);
        rig.Add(960, 240);
        ClearClipboard();
        QCOMPARE(rig.commands.CommandSet().Enabled(cmd::kPaste), std::optional<bool>(false));
        QVERIFY(rig.commands.CommandSet().Run(cmd::kCopy));
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(kClipNote));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
        QCOMPARE(rig.commands.CommandSet().Enabled(cmd::kPaste), std::optional<bool>(true));
        rig.view.position = 1920;
        rig.commands.CommandSet().Run(cmd::kPaste);
        QCOMPARE(rig.Spans(), (Spans{{480, 240}, {960, 240}, {1920, 240}, {2400, 240}}));
        QCOMPARE(rig.Selected(), (Ticks{1920, 2400}));
        QVERIFY(rig.SelectionAgrees());
        QVERIFY(rig.UnbuiltSecond(2));
        QVERIFY(!rig.UnbuiltSecond(0) && !rig.UnbuiltSecond(1) && !rig.UnbuiltSecond(3));

        rig.edit.Undo();
        QCOMPARE(rig.Spans(), (Spans{{480, 240}, {960, 240}}));
        QCOMPARE(rig.Track().Selection().size(), size_t{2});
        QVERIFY(rig.SelectionAgrees());
        rig.edit.Redo();
        QCOMPARE(rig.Spans(), (Spans{{480, 240}, {960, 240}, {1920, 240}, {2400, 240}}));
        QCOMPARE(rig.Track().Selection().size(), size_t{2});
    }

    // A foreign or cut-short block under the note format adds nothing, keeps the selection
    // and leaves no undo step.
    void damagedClipboardPastesNothing() {
        NoteRig rig;
        rig.Add(0, 480);
        auto* data = new QMimeData;
        data->setData(kClipNote, QByteArray("\x05\x00\x00\x00garbage", 11));
        QApplication::clipboard()->setMimeData(data);
        rig.commands.CommandSet().Run(cmd::kPaste);
        QCOMPARE(rig.Spans(), (Spans{{0, 480}}));
        QCOMPARE(rig.Selected(), (Ticks{0}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
    }

    // [WHEN] cut  [THEN] the notes are on the clipboard, gone from the song, their seconds
    // marked; the commands that need a selection turn off
    void cutRemovesAndMarksTheNotes() {
        NoteRig rig;
        rig.Add(0, 480, 255, false);
        rig.Add(3840, 480);
        ClearClipboard();
        rig.commands.CommandSet().Run(cmd::kCut);
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(kClipNote));
        QCOMPARE(rig.Spans(), (Spans{{0, 480}}));
        QVERIFY(rig.Track().Selection().empty());
        QVERIFY(rig.UnbuiltSecond(4));
        QVERIFY(!rig.UnbuiltSecond(0));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
        for (const int id : {cmd::kCut, cmd::kCopy, cmd::kDelete, cmd::kProperties, cmd::kSplit3})
            QCOMPARE(rig.commands.CommandSet().Enabled(id), std::optional<bool>(false));
        QCOMPARE(rig.commands.CommandSet().Enabled(cmd::kFind), std::optional<bool>(true));
        QCOMPARE(rig.commands.CommandSet().Enabled(cmd::kTrackAdd), std::nullopt);

        rig.view.position = 0;
        rig.commands.CommandSet().Run(cmd::kPaste);
        QCOMPARE(rig.Spans(), (Spans{{0, 480}, {0, 480}}));
    }

    void deleteTakesEverySelectedNote() {
        NoteRig rig;
        rig.Add(0, 480);
        rig.Add(960, 480, 255, false);
        rig.Add(1920, 480);
        rig.commands.CommandSet().Run(cmd::kDelete);
        QCOMPARE(rig.Spans(), (Spans{{960, 480}}));
        QVERIFY(rig.UnbuiltSecond(0) && rig.UnbuiltSecond(2));
        QVERIFY(!rig.UnbuiltSecond(1));
        rig.edit.Undo();
        QCOMPARE(rig.Spans().size(), size_t{3});
    }

    // [GIVEN] a note of length 100  [WHEN] split into 3  [THEN] 33, 33, 34 at offsets 0, 33,
    // 66, every other field copied, the parts selected in place of the note
    void splitIntoThreeGivesTheRemainderToTheLast() {
        NoteRig rig;
        const CNote* note = rig.Add(1000, 100, 77);
        CNote released = *note;
        released.keyoff = 12;
        rig.Track().UpdateNote(note, released);
        rig.commands.CommandSet().Run(cmd::kSplit3);
        QCOMPARE(rig.Spans(), (Spans{{1000, 33}, {1033, 33}, {1066, 34}}));
        QCOMPARE(rig.Selected(), (Ticks{1000, 1033, 1066}));
        QVERIFY(rig.SelectionAgrees());
        for (const CNote* part : rig.Track().Notes()) {
            QCOMPARE(part->volume, 77);
            QCOMPARE(part->keyoff, 12);
            QCOMPARE(part->key, 40);
        }
        QVERIFY(rig.UnbuiltSecond(1));
        rig.edit.Undo();
        QCOMPARE(rig.Spans(), (Spans{{1000, 100}}));
    }

    // More parts than ticks: every part keeps a length of at least 1.
    void freeSplitAsksForTheCount() {
        NoteRig rig;
        rig.Add(0, 100);
        rig.Add(480, 2);
        rig.script.drivers = {[](QDialog& dialog) {
            auto* count = Child<CNumberEdit>(&dialog, "count");
            QCOMPARE(BoxText(count), QStringLiteral("3"));
            TypeOver(count, "4");
            Click(OkButton(&dialog));
        }};
        rig.commands.CommandSet().Run(cmd::kSplitFree);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("分割")});
        QCOMPARE(
            rig.Spans(),
            (Spans{{0, 25}, {25, 25}, {50, 25}, {75, 25}, {480, 1}, {480, 1}, {481, 1}, {481, 1}}));
        QCOMPARE(rig.Track().Selection().size(), size_t{8});

        NoteRig cancelled;
        cancelled.Add(0, 100);
        cancelled.commands.CommandSet().Run(cmd::kSplitFree);
        QCOMPARE(cancelled.Spans(), (Spans{{0, 100}}));
        QCOMPARE(cancelled.edit.UndoRing().UndoDepth(), 0);
    }

    // Selection commands change no song: no undo step, the view is told to redraw.
    void selectionCommandsTakeNoUndoStep() {
        NoteRig rig;
        rig.Add(0, 480, 255, false);
        rig.Add(480, 480);
        rig.Add(1920, 480, 255, false);
        rig.commands.CommandSet().Run(cmd::kSelectInvert);
        QCOMPARE(rig.Selected(), (Ticks{0, 1920}));
        rig.commands.CommandSet().Run(cmd::kSelectClear);
        QVERIFY(rig.Track().Selection().empty());
        QCOMPARE(rig.commands.CommandSet().Enabled(cmd::kSelectClear), std::optional<bool>(false));
        rig.commands.CommandSet().Run(cmd::kSelectAll);
        QCOMPARE(rig.Track().Selection().size(), size_t{3});
        // The note ending exactly at the caret does not count as after it.
        rig.view.position = 960;
        rig.commands.CommandSet().Run(cmd::kSelectAfter);
        QCOMPARE(rig.Selected(), (Ticks{1920}));
        rig.view.position = 959;
        rig.commands.CommandSet().Run(cmd::kSelectAfter);
        QCOMPARE(rig.Selected(), (Ticks{480, 1920}));
        QVERIFY(rig.SelectionAgrees());
        QCOMPARE(rig.view.notesChanged, 5);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
        QVERIFY(rig.edit.Project().modified == 0);
    }

    // [WHEN] the criteria are confirmed  [THEN] the matching notes replace the selection and
    // the criteria, in order, are kept under "FindData" for the next search
    void findSelectsByCriteriaAndKeepsThem() {
        QTemporaryDir dir;
        QSettings store(dir.filePath(QStringLiteral("find.ini")), QSettings::IniFormat);
        NoteRig rig;
        rig.commands.SetFindStore(&store);
        rig.Add(0, 480, 50);
        rig.Add(480, 480, 150, false);
        rig.Add(960, 480, 250, false);
        rig.script.drivers = {[](QDialog& dialog) {
                                  Click(Child<QCheckBox>(&dialog, "volume"));
                                  TypeOver(Child<CNumberEdit>(&dialog, "volumeStart"), "200");
                                  TypeOver(Child<CNumberEdit>(&dialog, "volumeEnd"), "100");
                                  Click(OkButton(&dialog));
                              },
                              [](QDialog& dialog) {
                                  QVERIFY(Child<QCheckBox>(&dialog, "volume")->isChecked());
                                  QCOMPARE(BoxText(Child<CNumberEdit>(&dialog, "volumeStart")),
                                           QStringLiteral("100"));
                              }};
        rig.commands.CommandSet().Run(cmd::kFind);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("検索")});
        QCOMPARE(rig.Selected(), (Ticks{480}));
        QVERIFY(rig.SelectionAgrees());
        QCOMPARE(store.value(QStringLiteral("FindData/VolumeStart")).toInt(), 100);
        QCOMPARE(store.value(QStringLiteral("FindData/VolumeEnd")).toInt(), 200);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);

        rig.commands.CommandSet().Run(cmd::kFind); // cancelled: the selection stays
        QCOMPARE(rig.Selected(), (Ticks{480}));
    }

    void jumpMovesTheCaret() {
        NoteRig rig;
        rig.view.position = 1920;
        rig.view.row = 30;
        rig.script.drivers = {[](QDialog& dialog) {
            auto* position = Child<CPositionEdit>(&dialog, "position");
            QCOMPARE(position->text(), QStringLiteral("2:0"));
            TypeOver(position, "3:240");
            Click(OkButton(&dialog));
        }};
        rig.commands.CommandSet().Run(cmd::kJump);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("ジャンプ")});
        QCOMPARE(rig.view.position, 4080);
        QCOMPARE(rig.view.row, 30);
    }

    // The dialog starts at the caret's measure counted from 1 and a count of 1.
    void measureDialogShowsOneInTheFirstMeasure() {
        NoteRig rig;
        rig.view.position = 100;
        rig.script.drivers = {[](QDialog& dialog) {
            QCOMPARE(BoxText(Child<CNumberEdit>(&dialog, "measure")), QStringLiteral("1"));
            QCOMPARE(BoxText(Child<CNumberEdit>(&dialog, "count")), QStringLiteral("1"));
        }};
        rig.commands.CommandSet().Run(cmd::kInsertMeasures);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("小節の挿入")});
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
    }

    // [WHEN] 2 measures are inserted before measure 2  [THEN] the later note moves by 3840
    // and the song is marked; undo puts it back
    void insertMeasuresShiftsLaterNotes() {
        NoteRig rig;
        rig.Add(0, 480, 255, false);
        rig.Add(1920, 480, 255, false);
        rig.script.drivers = {MeasureAnswer("2", "2")};
        rig.commands.CommandSet().Run(cmd::kInsertMeasures);
        QCOMPARE(rig.Spans(), (Spans{{0, 480}, {5760, 480}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
        QVERIFY(rig.edit.Unbuilt().AnySet());
        rig.edit.Undo();
        QCOMPARE(rig.Spans(), (Spans{{0, 480}, {1920, 480}}));
    }

    // A note across the insertion point, or partly inside the deleted range, refuses the
    // change with the error and leaves the song and the undo ring alone.
    void measureChangesAcrossANoteAreRefused() {
        NoteRig rig;
        rig.Add(1800, 480, 255, false);
        rig.script.drivers = {MeasureAnswer("2", "1"), MeasureAnswer("1", "1")};
        rig.commands.CommandSet().Run(cmd::kInsertMeasures);
        rig.commands.CommandSet().Run(cmd::kDeleteMeasures);
        QCOMPARE(rig.script.titles,
                 (QStringList{QStringLiteral("小節の挿入"), QStringLiteral("小節の削除")}));
        QCOMPARE(rig.prompts.shown.size(), 2);
        QCOMPARE(rig.prompts.shown[0].text,
                 QStringLiteral("挿入位置に音符が重なっています。\n小節を挿入できません。"));
        QCOMPARE(rig.prompts.shown[0].title, QStringLiteral("小節の挿入"));
        QVERIFY(rig.prompts.shown[0].icon == IUserPrompts::Icon::Error);
        QCOMPARE(rig.prompts.shown[1].text,
                 QStringLiteral("削除位置に音符が重なっています。\n小節を削除できません。"));
        QCOMPARE(rig.prompts.shown[1].title, QStringLiteral("小節の削除"));
        QCOMPARE(rig.Spans(), (Spans{{1800, 480}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
    }

    void deleteMeasuresPullsLaterNotesBack() {
        NoteRig rig;
        rig.Add(0, 480, 255, false);
        rig.Add(2000, 480, 255, false);
        rig.Add(3840, 480, 255, false);
        rig.view.position = 1920;
        rig.script.drivers = {[](QDialog& dialog) {
            QCOMPARE(BoxText(Child<CNumberEdit>(&dialog, "measure")), QStringLiteral("2"));
            Click(OkButton(&dialog));
        }};
        rig.commands.CommandSet().Run(cmd::kDeleteMeasures);
        QCOMPARE(rig.Spans(), (Spans{{0, 480}, {1920, 480}}));
        rig.edit.Undo();
        QCOMPARE(rig.Spans().size(), size_t{3});
    }
};

std::unique_ptr<QObject> MakeNoteCommandsTest() {
    return std::make_unique<NoteCommandsTest>();
}

#include "NoteCommandsTest.moc"
