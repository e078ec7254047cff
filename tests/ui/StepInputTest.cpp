// Step input driven with real key events: the keys by physical position (native scan codes)
// and by the US layout's keys (the offscreen platform gives no scan code), chords, rests,
// the octave keys, Backspace and one undo step per note or chord. Also that the mode is off
// until switched on, and that the piano roll's own keys keep their meaning.

#include "PianoRollTestRig.h"

#include "ui/CMidiKeyboard.h"
#include "ui/CommandIds.h"
#include "ui/pianoroll/CNoteCommands.h"
#include "ui/pianoroll/CPianoRollPreview.h"
#include "ui/pianoroll/CStepInput.h"
#include "ui/pianoroll/StepKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>

#include <algorithm>

using SEEN = PianoRollRig::SEEN;

namespace {

// Row 47 is C5, the first row of its octave: the lower row's Z sounds there.
constexpr int kC = 47;

struct StepRig : PianoRollRig {
    StepRig() {
        roll->StepInput().SetOn(true);
        roll->SetCaret(0, kC);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        roll->setFocus();
    }
    void Press(Qt::Key key) { QTest::keyPress(roll, key); }
    void Release(Qt::Key key) { QTest::keyRelease(roll, key); }
    void Tap(Qt::Key key) {
        Press(key);
        Release(key);
    }
    // What X11 delivers: the key the layout names and the key's position.
    void SendNative(QEvent::Type type, int key, uint32_t scanCode) {
        QKeyEvent event(type, key, Qt::NoModifier, scanCode, 0, 0);
        QApplication::sendEvent(roll, &event);
    }
};

} // namespace

class StepInputTest : public QObject {
    Q_OBJECT
private slots:
    void keysByPositionAndByUsLayout_data() {
        QTest::addColumn<uint32_t>("scanCode");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("semitone");
        // X keyboard codes are evdev codes + 8; Qt's key is what a US layout calls it.
        QTest::newRow("Z is C") << 52u << int(Qt::Key_Z) << 0;
        QTest::newRow("S is C#") << 39u << int(Qt::Key_S) << 1;
        QTest::newRow("M is B") << 58u << int(Qt::Key_M) << 11;
        QTest::newRow("comma is the next C") << 59u << int(Qt::Key_Comma) << 12;
        QTest::newRow("period is D above") << 60u << int(Qt::Key_Period) << 14;
        QTest::newRow("Q is C up") << 24u << int(Qt::Key_Q) << 12;
        QTest::newRow("2 is C# up") << 11u << int(Qt::Key_2) << 13;
        QTest::newRow("U is B up") << 30u << int(Qt::Key_U) << 23;
        QTest::newRow("I is C two up") << 31u << int(Qt::Key_I) << 24;
        QTest::newRow("P is E two up") << 33u << int(Qt::Key_P) << 28;
    }
    void keysByPositionAndByUsLayout() {
        QFETCH(uint32_t, scanCode);
        QFETCH(int, key);
        QFETCH(int, semitone);
        const STEP_KEY note{STEP_KEY::Kind::Note, semitone};
        QCOMPARE(StepKeyOf(scanCode, key), note);
        QCOMPARE(StepKeyOf(0, key), note);
        // A layout that names the key otherwise plays by position all the same.
        QCOMPARE(StepKeyOf(scanCode, Qt::Key_F), note);
    }

    void otherKeysAreNoStepKeys() {
        QCOMPARE(StepKeyOf(0, Qt::Key_Left).kind, STEP_KEY::Kind::None);
        QCOMPARE(StepKeyOf(0, Qt::Key_Insert).kind, STEP_KEY::Kind::None);
        QCOMPARE(StepKeyOf(0, Qt::Key_A).kind, STEP_KEY::Kind::None);
        // F's position (evdev 33) plays nothing even where the layout calls it Z.
        QCOMPARE(StepKeyOf(41, Qt::Key_Z).kind, STEP_KEY::Kind::None);
        QCOMPARE(StepKeyOf(0, Qt::Key_Space).kind, STEP_KEY::Kind::Rest);
        QCOMPARE(StepKeyOf(65, Qt::Key_A).kind, STEP_KEY::Kind::Rest);
        QCOMPARE(StepKeyOf(22, 0).kind, STEP_KEY::Kind::Back);
    }

    void aKeyEntersTheDefaultNoteAndMovesTheCaretOn() {
        StepRig rig;
        rig.defaults.SetLength(480);
        rig.defaults.SetKeyoff(12);
        rig.defaults.SetVolume(200);
        rig.Tap(Qt::Key_Z);
        rig.Tap(Qt::Key_E);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, kC, false}, {480, kC - 16, true}}));
        rig.Track().ForEachNote([](const CNote* n) {
            QCOMPARE(n->length, 480);
            QCOMPARE(n->keyoff, 12);
            QCOMPARE(n->volume, 200);
        });
        QCOMPARE(rig.roll->CaretPosition(), 960);
        QCOMPARE(rig.roll->CaretRow(), kC);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 2);
    }

    void theNativeScanCodeDecidesTheNote() {
        StepRig rig;
        // An AZERTY keyboard calls the key at Q's place A.
        rig.SendNative(QEvent::KeyPress, Qt::Key_A, 24);
        rig.SendNative(QEvent::KeyRelease, Qt::Key_A, 24);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, kC - 12, true}}));
        QCOMPARE(rig.roll->CaretPosition(), 240);
    }

    void theBaseOctaveIsTheCaretRowsOctave() {
        StepRig rig;
        // Row 52 is G4: its octave's C is row 59.
        rig.roll->SetCaret(0, 52);
        rig.Tap(Qt::Key_Z);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 59, true}}));
        // A key above the top row enters nothing and leaves the caret.
        rig.roll->SetCaret(0, 3);
        rig.Tap(Qt::Key_P);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
    }

    void heldKeysMakeOneChordAndOneUndoStep() {
        StepRig rig;
        rig.Press(Qt::Key_Z);
        rig.Press(Qt::Key_C);
        rig.Press(Qt::Key_B);
        rig.Release(Qt::Key_C);
        rig.Release(Qt::Key_Z);
        // the caret waits for the last key
        QCOMPARE(rig.roll->CaretPosition(), 0);
        rig.Release(Qt::Key_B);
        QCOMPARE(rig.roll->CaretPosition(), 240);
        QCOMPARE(rig.Notes(),
                 (std::vector<SEEN>{{0, kC - 7, true}, {0, kC - 4, true}, {0, kC, true}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
        rig.Tap(Qt::Key_X);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 2);
        rig.edit.Undo();
        QCOMPARE(rig.Track().NoteCount(), size_t{3});
        rig.edit.Undo();
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
        rig.edit.Redo();
        QCOMPARE(rig.Track().NoteCount(), size_t{3});
    }

    void anUndoBetweenTheKeysOfAChordStartsANewStep() {
        StepRig rig;
        rig.Press(Qt::Key_Z);
        rig.edit.Undo();
        rig.Press(Qt::Key_C);
        rig.Release(Qt::Key_Z);
        rig.Release(Qt::Key_C);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, kC - 4, true}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
    }

    void repeatsOfAHeldKeyEnterNothing() {
        StepRig rig;
        rig.Press(Qt::Key_Z);
        QTest::keyPress(rig.roll, Qt::Key_Z, Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(rig.roll, &repeat);
        rig.Release(Qt::Key_Z);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
        QCOMPARE(rig.roll->CaretPosition(), 240);
    }

    void aRestMovesTheCaretWithoutANote() {
        StepRig rig;
        rig.Tap(Qt::Key_Space);
        rig.Tap(Qt::Key_Z);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{240, kC, true}}));
        QCOMPARE(rig.roll->CaretPosition(), 480);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
    }

    void backspaceTakesBackEntryByEntry() {
        StepRig rig;
        rig.Tap(Qt::Key_Z);
        rig.Tap(Qt::Key_Space);
        rig.Press(Qt::Key_X);
        rig.Press(Qt::Key_V);
        rig.Release(Qt::Key_X);
        rig.Release(Qt::Key_V);
        QCOMPARE(rig.roll->CaretPosition(), 720);
        rig.Tap(Qt::Key_Backspace);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, kC, false}}));
        QCOMPARE(rig.roll->CaretPosition(), 480);
        rig.Tap(Qt::Key_Backspace); // the rest
        QCOMPARE(rig.roll->CaretPosition(), 240);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
        rig.Tap(Qt::Key_Backspace);
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
        QCOMPARE(rig.roll->CaretPosition(), 0);
        // entering twice and taking back twice: two undo steps of each
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 4);
        rig.edit.Undo();
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
        // nothing left to take back: the key does nothing
        rig.Tap(Qt::Key_Backspace);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
    }

    void backspaceAfterTheCaretWasMovedTakesNothing() {
        StepRig rig;
        rig.Tap(Qt::Key_Z);
        rig.Tap(Qt::Key_Right); // a caret key of the piano roll, as before
        QCOMPARE(rig.roll->CaretPosition(), 480);
        rig.Tap(Qt::Key_Backspace);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
        QCOMPARE(rig.roll->CaretPosition(), 480);
    }

    void theOctaveKeysMoveTheCaretAnOctave() {
        StepRig rig;
        rig.Tap(Qt::Key_Equal);
        QCOMPARE(rig.roll->CaretRow(), kC - 12);
        rig.Tap(Qt::Key_Z);
        rig.Tap(Qt::Key_Minus);
        rig.Tap(Qt::Key_Minus);
        QCOMPARE(rig.roll->CaretRow(), kC + 12);
        rig.Tap(Qt::Key_Z);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, kC - 12, false}, {240, kC + 12, true}}));
        // no octave beyond the last row
        rig.roll->SetCaret(0, 90);
        rig.Tap(Qt::Key_Minus);
        QCOMPARE(rig.roll->CaretRow(), 90);
    }

    void losingTheFocusEndsTheChord() {
        StepRig rig;
        QLineEdit other(&rig.window);
        other.show();
        rig.Press(Qt::Key_Z);
        other.setFocus(Qt::ActiveWindowFocusReason);
        QCOMPARE(rig.roll->CaretPosition(), 240);
        rig.roll->setFocus();
        rig.Tap(Qt::Key_X);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, kC, false}, {240, kC - 2, true}}));
    }

    void theModeIsOffUntilSwitchedOnAndKeepsThePaneKeys() {
        PianoRollRig rig;
        rig.roll->setFocus();
        CCommandSet& set = rig.roll->NoteCommands().CommandSet();
        QCOMPARE(set.Checked(cmd::kStepInput), std::optional<bool>(false));
        QTest::keyClick(rig.roll, Qt::Key_Z);
        QTest::keyClick(rig.roll, Qt::Key_Space);
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
        QCOMPARE(rig.roll->CaretPosition(), 0);
        QVERIFY(set.Run(cmd::kStepInput));
        QCOMPARE(set.Checked(cmd::kStepInput), std::optional<bool>(true));
        QTest::keyClick(rig.roll, Qt::Key_Z);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
        // Ctrl with a musical key stays a command key, not a note
        QTest::keyClick(rig.roll, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
        QTest::keyClick(rig.roll, Qt::Key_Down);
        QCOMPARE(rig.roll->CaretRow(), 1);
        QVERIFY(set.Run(cmd::kStepInput));
        QCOMPARE(set.Checked(cmd::kStepInput), std::optional<bool>(false));
    }

    void midiKeysEnterChordsWithTheVelocityAsVolume() {
        StepRig rig;
        CMidiKeyboard midi(rig.roll->StepInput());
        QSignalSpy keys(&midi, &CMidiKeyboard::keyChanged);
        // Middle C (60) is C4, row 59; 127 is full volume, 64 is 128.
        midi.Play({true, 0, 60, 127});
        midi.Play({true, 9, 64, 64});
        midi.Play({false, 0, 60, 0});
        QCOMPARE(rig.roll->CaretPosition(), 0);
        midi.Play({false, 9, 64, 0});
        QCOMPARE(rig.roll->CaretPosition(), 240);
        std::vector<int> volumes;
        rig.Track().ForEachNote(
            [&](const CNote* n) { volumes.push_back(n->key * 1000 + n->volume); });
        std::sort(volumes.begin(), volumes.end());
        QCOMPARE(volumes, (std::vector<int>{55 * 1000 + 128, 59 * 1000 + 255}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
        QCOMPARE(keys.count(), 4);
        QCOMPARE(keys.at(0).at(0).toInt(), 36); // keyboard key of C4, counted from C1
        // Notes beyond the 96 rows are ignored.
        midi.Play({true, 0, 23, 100});
        midi.Play({true, 0, 120, 100});
        QCOMPARE(rig.Track().NoteCount(), size_t{2});
        QCOMPARE(CMidiKeyboard::RowOfNote(24), 95);
        QCOMPARE(CMidiKeyboard::RowOfNote(119), 0);
        QCOMPARE(CMidiKeyboard::VolumeOfVelocity(1), 2);
    }

    void midiKeysOnlySoundWhileTheModeIsOff() {
        StepRig rig;
        rig.roll->StepInput().SetOn(false);
        CMidiKeyboard midi(rig.roll->StepInput());
        rig.roll->Refresh(false); // the preview takes the track's sound
        midi.Play({true, 0, 60, 100});
        midi.Play({true, 0, 67, 100});
        QCOMPARE(rig.roll->Preview().RowsSounding(), 2);
        QVERIFY(rig.roll->Preview().IsRowSounding(59));
        midi.Play({false, 0, 60, 0});
        QCOMPARE(rig.roll->Preview().RowsSounding(), 1);
        // A key pressed before step input was switched on still ends its sound.
        rig.roll->StepInput().SetOn(true);
        midi.Play({false, 0, 67, 0});
        QCOMPARE(rig.roll->Preview().RowsSounding(), 0);
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
    }
};

QTEST_MAIN(StepInputTest)
#include "StepInputTest.moc"
