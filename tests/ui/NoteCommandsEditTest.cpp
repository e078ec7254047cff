// The note commands that change notes through dialogs: properties of one or several notes,
// entering a note, taking a note as the default note, and adjusting positions, lengths
// and volumes, including the refusal of negative positions and the grid fit.

#include "NoteCommandsTestRig.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "model/CBeats.h"
#include "ui/CommandIds.h"
#include "ui/NoteSnap.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTest>

using namespace dlgtest;

namespace {

using Spans = std::vector<std::pair<int32_t, int32_t>>;

DialogScript::Driver ChangeBy(const QString& amount) {
    return [amount](QDialog& dialog) {
        if (auto* change = dialog.findChild<QRadioButton*>(QStringLiteral("change")))
            Click(change);
        TypeOver(Child<CNumberEdit>(&dialog, "amount"), amount);
        Click(OkButton(&dialog));
    };
}

DialogScript::Driver Fit() {
    return [](QDialog& dialog) {
        Click(Child<QRadioButton>(&dialog, "fit"));
        QVERIFY(!Child<CNumberEdit>(&dialog, "amount")->isEnabled());
        Click(OkButton(&dialog));
    };
}

std::vector<int32_t> Volumes(NoteRig& rig) {
    std::vector<int32_t> volumes;
    for (const CNote* note : rig.ByPosition())
        volumes.push_back(note->volume);
    return volumes;
}

} // namespace

class NoteCommandsEditTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // [GIVEN] two notes of lengths 480 and 960  [WHEN] only the volume is typed
    // [THEN] the title counts the notes, the length shows empty and stays per note, both
    // notes stay selected, old and new places are marked, one undo step
    void propertiesApplyOnlyTheChangedFields() {
        NoteRig rig;
        rig.Add(0, 480, 100);
        rig.Add(1920, 960, 100);
        rig.script.drivers = {[](QDialog& dialog) {
            QVERIFY(Child<CNumberEdit>(&dialog, "length")->IsEmpty());
            QCOMPARE(BoxText(Child<CNumberEdit>(&dialog, "volume")), QStringLiteral("100"));
            TypeOver(Child<CNumberEdit>(&dialog, "volume"), "30");
            Click(OkButton(&dialog));
        }};
        rig.commands.CommandSet().Run(cmd::kProperties);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("2 個の音符のプロパティ")});
        QCOMPARE(rig.Spans(), (Spans{{0, 480}, {1920, 960}}));
        QCOMPARE(Volumes(rig), (std::vector<int32_t>{30, 30}));
        QCOMPARE(rig.Track().Selection().size(), size_t{2});
        QVERIFY(rig.SelectionAgrees());
        QVERIFY(rig.UnbuiltSecond(0) && rig.UnbuiltSecond(2) && rig.UnbuiltSecond(3));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
        rig.edit.Undo();
        QCOMPARE(Volumes(rig), (std::vector<int32_t>{100, 100}));
    }

    // One note: the plain title; moving it by the position box moves its segments too.
    void propertiesOfOneNoteMoveIt() {
        NoteRig rig;
        rig.Add(0, 480);
        rig.script.drivers = {[](QDialog& dialog) {
            TypeOver(Child<CPositionEdit>(&dialog, "position"), "3:0");
            Click(OkButton(&dialog));
        }};
        rig.commands.CommandSet().Run(cmd::kProperties);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("音符のプロパティ")});
        QCOMPARE(rig.Spans(), (Spans{{3840, 480}}));
        QCOMPARE(rig.Track().Selection().size(), size_t{1});
        QVERIFY(rig.UnbuiltSecond(0) && rig.UnbuiltSecond(4));
    }

    // [WHEN] "音符の入力" is confirmed after choosing octave "5" and key "C"  [THEN] the caret's
    // note with that key is added and marked
    void enterNoteAddsTheCaretsNote() {
        NoteRig rig;
        rig.defaults.SetLength(720);
        rig.defaults.SetVolume(90);
        rig.view.position = 960;
        rig.view.row = 13;
        rig.script.drivers = {[](QDialog& dialog) {
            QCOMPARE(Child<CPositionEdit>(&dialog, "position")->text(), QStringLiteral("1:960"));
            QCOMPARE(BoxText(Child<CNumberEdit>(&dialog, "length")), QStringLiteral("720"));
            auto* octave = Child<QComboBox>(&dialog, "octave");
            QCOMPARE(octave->currentText(), QStringLiteral("7"));
            octave->setFocus(Qt::TabFocusReason);
            QTest::keyClick(octave, Qt::Key_Down);
            QTest::keyClick(octave, Qt::Key_Down);
            auto* key = Child<QComboBox>(&dialog, "key");
            key->setFocus(Qt::TabFocusReason);
            QTest::keyClick(key, Qt::Key_End);
            Click(OkButton(&dialog));
        }};
        rig.commands.CommandSet().Run(cmd::kNoteInsert);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("音符の入力")});
        QCOMPARE(rig.Spans(), (Spans{{960, 720}}));
        const CNote& note = *rig.Track().Notes().front();
        QCOMPARE(note.key, 3 * 12 + 11);
        QCOMPARE(note.volume, 90);
        QVERIFY(rig.UnbuiltSecond(1));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);

        rig.commands.CommandSet().Run(cmd::kNoteInsert); // cancelled
        QCOMPARE(rig.Spans().size(), size_t{1});
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
    }

    void setAsDefaultNeedsExactlyOneNote() {
        NoteRig rig;
        const CNote* note = rig.Add(0, 720, 60);
        CNote released = *note;
        released.keyoff = 24;
        rig.Track().UpdateNote(note, released);
        QCOMPARE(rig.commands.CommandSet().Enabled(cmd::kSetDefaultNote),
                 std::optional<bool>(true));
        rig.commands.CommandSet().Run(cmd::kSetDefaultNote);
        QCOMPARE(rig.defaults.Length(), 720);
        QCOMPARE(rig.defaults.Keyoff(), 24);
        QCOMPARE(rig.defaults.Volume(), 60);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
        rig.Add(960, 480);
        QCOMPARE(rig.commands.CommandSet().Enabled(cmd::kSetDefaultNote),
                 std::optional<bool>(false));
    }

    // [GIVEN] notes at 480 and 960  [WHEN] moved by -600  [THEN] the refusal is shown and the
    // dialog opens again with -600; [WHEN] -480 then  [THEN] they move to 0 and 480
    void negativePositionIsRefusedAndTheDialogReopens() {
        NoteRig rig;
        rig.Add(480, 240);
        rig.Add(960, 240);
        rig.script.drivers = {ChangeBy("-600"), [](QDialog& dialog) {
                                  QVERIFY(Child<QRadioButton>(&dialog, "change")->isChecked());
                                  auto* amount = Child<CNumberEdit>(&dialog, "amount");
                                  QCOMPARE(BoxText(amount), QStringLiteral("-600"));
                                  TypeOver(amount, "-480");
                                  Click(OkButton(&dialog));
                              }};
        rig.commands.CommandSet().Run(cmd::kAdjustPosition);
        QCOMPARE(rig.script.titles,
                 (QStringList{QStringLiteral("位置の調整"), QStringLiteral("位置の調整")}));
        QCOMPARE(rig.prompts.shown.size(), 1);
        QCOMPARE(rig.prompts.shown[0].text,
                 QStringLiteral("音符のマイナスの位置へ移動しようとしています。"));
        QCOMPARE(rig.prompts.shown[0].title, QStringLiteral("位置の調整"));
        QVERIFY(rig.prompts.shown[0].icon == IUserPrompts::Icon::Error);
        QCOMPARE(rig.Spans(), (Spans{{0, 240}, {480, 240}}));
        QCOMPARE(rig.Track().Selection().size(), size_t{2});
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
    }

    // A refusal followed by Cancel changes nothing.
    void cancelAfterTheRefusalChangesNothing() {
        NoteRig rig;
        rig.Add(100, 240);
        rig.script.drivers = {ChangeBy("-101")};
        rig.commands.CommandSet().Run(cmd::kAdjustPosition);
        QCOMPARE(rig.script.titles.size(), 2);
        QCOMPARE(rig.Spans(), (Spans{{100, 240}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
    }

    // "フィット" snaps each position to the grid counted from its measure's start.
    void fitPositionSnapsToTheGrid() {
        NoteRig rig;
        rig.defaults.SetFit(240);
        rig.Add(500, 100);
        rig.Add(2159, 100);
        rig.script.drivers = {Fit()};
        rig.commands.CommandSet().Run(cmd::kAdjustPosition);
        QCOMPARE(rig.Spans(), (Spans{{480, 100}, {1920, 100}}));
        QVERIFY(rig.SelectionAgrees());
    }

    // [GIVEN] fit 240 and a note spanning 100..350  [WHEN] "フィット" length  [THEN] 140.
    // A note whose end snaps onto or before its start ends on the next grid line instead.
    void fitLengthSnapsTheEndAndStaysPositive() {
        NoteRig rig;
        rig.defaults.SetFit(240);
        rig.Add(100, 250);
        rig.Add(1000, 100);
        rig.Add(1920, 1);
        rig.script.drivers = {Fit()};
        rig.commands.CommandSet().Run(cmd::kAdjustLength);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("音長の調整")});
        QCOMPARE(rig.Spans(), (Spans{{100, 140}, {1000, 200}, {1920, 240}}));
    }

    // The grid line past the start may lie beyond the bar line of a short measure: the note
    // then ends at the bar line.
    void fitLengthStopsAtTheBarLine() {
        NoteRig rig;
        SongOf(rig.edit).data.beats.Assign({BEAT{0, 3, 4}});
        rig.defaults.SetFit(960);
        rig.Add(1000, 100);
        rig.script.drivers = {Fit()};
        rig.commands.CommandSet().Run(cmd::kAdjustLength);
        QCOMPARE(rig.Spans(), (Spans{{1000, 440}}));
    }

    void lengthIncrementKeepsAtLeastOneTick() {
        NoteRig rig;
        rig.Add(0, 480);
        rig.Add(960, 100);
        rig.script.drivers = {ChangeBy("-200")};
        rig.commands.CommandSet().Run(cmd::kAdjustLength);
        QCOMPARE(rig.Spans(), (Spans{{0, 280}, {960, 1}}));
        QVERIFY(rig.UnbuiltSecond(0) && rig.UnbuiltSecond(1));
    }

    // Volumes move by the amount and clamp to 0..255.
    void volumeAdjustmentClamps() {
        NoteRig rig;
        rig.Add(0, 480, 200);
        rig.Add(480, 480, 10);
        rig.script.drivers = {ChangeBy("100"), [](QDialog& dialog) {
                                  QCOMPARE(BoxText(Child<CNumberEdit>(&dialog, "amount")),
                                           QStringLiteral("100"));
                                  TypeOver(Child<CNumberEdit>(&dialog, "amount"), "-120");
                                  Click(OkButton(&dialog));
                              }};
        rig.commands.CommandSet().Run(cmd::kAdjustVolume);
        QCOMPARE(rig.script.titles, QStringList{QStringLiteral("音量の調整")});
        QCOMPARE(Volumes(rig), (std::vector<int32_t>{255, 110}));
        rig.commands.CommandSet().Run(cmd::kAdjustVolume);
        QCOMPARE(Volumes(rig), (std::vector<int32_t>{135, 0}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 2);
        rig.edit.Undo();
        QCOMPARE(Volumes(rig), (std::vector<int32_t>{255, 110}));
    }

    // The grid starts again on every bar line, so odd signatures keep their grid.
    void snapCountsFromTheMeasureStart() {
        CBeats beats;
        beats.Assign({BEAT{0, 3, 4}, BEAT{2, 5, 8}}); // bars at 0, 1440, 2880, 4080
        struct CASE {
            int32_t fit, tick, snapped;
        };
        for (const CASE c :
             {CASE{960, 2000, 1440}, CASE{960, 2400, 2400}, CASE{480, 4079, 3840},
              CASE{480, 4100, 4080}, CASE{0, 1234, 1234}, CASE{-5, 7, 7}, CASE{1920, 1439, 0}}) {
            QCOMPARE(SnapTick(beats, c.fit, c.tick), c.snapped);
        }
    }

    // Notes of a muted track make no sound: editing them marks no second.
    void editsOnAMutedTrackMarkNothing() {
        NoteRig rig;
        rig.Track().settings.mute = 1;
        rig.Add(0, 480, 100);
        rig.script.drivers = {ChangeBy("10")};
        rig.commands.CommandSet().Run(cmd::kAdjustVolume);
        QCOMPARE(Volumes(rig), (std::vector<int32_t>{110}));
        QVERIFY(!rig.edit.Unbuilt().AnySet());
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
    }
};

std::unique_ptr<QObject> MakeNoteCommandsEditTest() {
    return std::make_unique<NoteCommandsEditTest>();
}

#include "NoteCommandsEditTest.moc"
