// The piano roll's left-button gestures driven with real mouse events: note entry with the
// length drag, the drag threshold, moving and Ctrl-duplicating, the limits of a multi-note
// move, length drags, rectangle selection of gliding notes, the play line, the zoom drags,
// automatic scrolling, clicks on notes, the preview, the status texts, and a duplicate that
// would pass the song's note limit.

#include "PianoRollTestRig.h"

#include "ui/CommandIds.h"
#include "ui/pianoroll/CNoteCommands.h"
#include "ui/pianoroll/CPianoRollPreview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

using SEEN = PianoRollRig::SEEN;

class PianoRollEditTest : public QObject {
    Q_OBJECT
private slots:
    void singleClickEntersANoteAndTheDragSetsItsLengthPastFourPixels() {
        // [GIVEN] "NoteSingleClickAdd" on, "NoteAdd" = 2, an empty track, fit 240
        PianoRollRig rig;
        // [WHEN] pressing 2 pixels left of the 720 grid line (snaps to 480) on row 30
        const QPoint press = rig.At(720, 30, -2);
        rig.Press(press);
        // [THEN] a note of the default length is entered and selected at once
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{480, 30, true}}));
        QCOMPARE(rig.Track().Selection().front()->length, 240);
        // moving 4 pixels, across the grid line, changes nothing yet
        rig.MoveTo(press + QPoint(4, 0));
        QCOMPARE(rig.Track().Selection().front()->length, 240);
        rig.MoveTo(press + QPoint(4, -4));
        QCOMPARE(rig.Track().Selection().front()->length, 240);
        // the fifth pixel starts the length drag: the end follows the pointer's grid cell
        rig.MoveTo(press + QPoint(5, 0));
        QCOMPARE(rig.Track().Selection().front()->length, 480);
        const QPoint end = rig.At(1440, 33, 3);
        rig.MoveTo(end);
        rig.Release(end);
        // [THEN] one note from 480 to 1680 on row 30 (the row never follows a length drag)
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{480, 30, true}}));
        QCOMPARE(rig.Track().Selection().front()->length, 1200);
        // and the whole entry is one undo step
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
        rig.edit.Undo();
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
    }

    void noteAddOneMovesTheEnteredNoteInOneUndoStep() {
        PianoRollRig rig;
        rig.options.noteAdd = 1;
        rig.Drag(rig.At(480, 30, 2), rig.At(1440, 33, 2));
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{1440, 33, true}}));
        QCOMPARE(rig.Track().Selection().front()->length, 240);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
    }

    void aPlainClickEntersOneNoteWithoutDrag() {
        PianoRollRig rig;
        rig.options.noteAdd = 0;
        const QPoint at = rig.At(960, 12, 3);
        rig.Press(at);
        rig.MoveTo(at + QPoint(60, 24)); // "NoteAdd" 0: the drag does nothing to the note
        rig.Release(at + QPoint(60, 24));
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{960, 12, true}}));
        QCOMPARE(rig.Track().Selection().front()->length, 240);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
    }

    void doubleClickOnEmptySpaceEntersANoteLikeASingleClick() {
        PianoRollRig rig;
        rig.options.noteSingleClickAdd = 0;
        rig.options.noteAdd = 0;
        const QPoint at = rig.At(480, 20, 3);
        rig.DoubleClick(at);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{480, 20, true}}));
        // a double click on the note asks the frame for its properties
        QSignalSpy command(rig.roll, &CPianoRollWnd::commandRequested);
        rig.DoubleClick(at);
        QCOMPARE(rig.Track().NoteCount(), size_t{1});
        QCOMPARE(command.size(), 1);
        QCOMPARE(command.first().at(0).toInt(), cmd::kProperties);
    }

    void ctrlDragLeavesUnselectedCopiesAndMovesTheSelection() {
        PianoRollRig rig;
        const CNote* a = rig.Add(0, 40);
        const CNote* b = rig.Add(960, 42);
        rig.Track().SelectNote(a, true);
        rig.Track().SelectNote(b, true);
        // [WHEN] Ctrl-dragging the first note one quarter right and one row down
        rig.Drag(rig.At(0, 40, 10), rig.At(480, 41, 10), Qt::ControlModifier);
        // [THEN] copies stay behind unselected, the selected notes moved together
        QCOMPARE(rig.Notes(),
                 (std::vector<SEEN>{
                     {0, 40, false}, {480, 41, true}, {960, 42, false}, {1440, 43, true}}));
        QCOMPARE(rig.Track().Selection().size(), size_t{2});
        rig.edit.Undo();
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 40, true}, {960, 42, true}}));
    }

    void aMultiNoteMoveStopsAtRowZeroAndTickZeroKeepingItsShape() {
        PianoRollRig rig;
        const CNote* a = rig.Add(480, 2);
        const CNote* b = rig.Add(960, 5);
        rig.Track().SelectNote(a, true);
        rig.Track().SelectNote(b, true);
        // [WHEN] the later note is dragged far up and left, past the first row and tick 0
        const QPoint from = rig.At(960, 5, 10);
        rig.Press(from);
        rig.MoveTo(from + QPoint(-10, -10));
        const QPoint corner(CPianoRollGeometry::kKeyColumn + 1, rig.At(0, 0).y());
        rig.MoveTo(corner);
        rig.MoveTo(corner + QPoint(0, -rig.Geometry().ZoomY()));
        rig.Release(corner);
        // [THEN] the earliest note stops at 0, the highest at row 0; the others keep their places
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 0, true}, {480, 3, true}}));
    }

    void aClickOnANoteReducesTheSelectionAndCtrlClickTogglesIt() {
        PianoRollRig rig;
        const CNote* a = rig.Add(0, 40);
        rig.Add(960, 42);
        rig.Track().SelectNote(nullptr, true);
        rig.Drag(rig.At(0, 40, 10), rig.At(0, 40, 12)); // under the threshold: a click
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 40, true}, {960, 42, false}}));
        QCOMPARE(rig.Track().Selection().front(), a);
        rig.Drag(rig.At(960, 42, 10), rig.At(960, 42, 10), Qt::ControlModifier);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 40, true}, {960, 42, true}}));
        rig.Drag(rig.At(0, 40, 10), rig.At(0, 40, 10), Qt::ControlModifier);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 40, false}, {960, 42, true}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
    }

    void aNoteDeletedWhileTheButtonIsHeldIsForgottenOnRelease() {
        PianoRollRig rig;
        rig.Add(0, 40);
        rig.Add(960, 42);
        rig.Press(rig.At(0, 40, 10));
        QCOMPARE(rig.Track().Selection().size(), size_t{1});
        // [WHEN] the Delete key's command removes the pressed note before the release
        QVERIFY(rig.roll->NoteCommands().CommandSet().Run(cmd::kDelete));
        rig.Release(rig.At(0, 40, 10));
        // [THEN] the click selects nothing that is gone
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{960, 42, false}}));
        QCOMPARE(rig.Track().Selection().size(), size_t{0});
    }

    void lengthDragsFollowTheGridAndNeverGoBelowOneFitUnit() {
        PianoRollRig rig;
        rig.Add(480, 30, 480);
        // [WHEN] dragging the right edge (last 6 pixels) to the 1200 cell
        rig.Drag(rig.At(960, 30, -2), rig.At(1200, 30, 4));
        QCOMPARE(rig.Track().Selection().size(), size_t{1});
        QCOMPARE(rig.Track().Selection().front()->length, 240 + 1200 - 480);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 1);
        // [WHEN] Shift-dragging from the middle to before the note's start
        rig.Drag(rig.At(600, 30), rig.At(0, 30, 2), Qt::ShiftModifier);
        // [THEN] one fit unit remains
        QCOMPARE(rig.Track().Selection().front()->position, 480);
        QCOMPARE(rig.Track().Selection().front()->length, 240);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 2);
    }

    void rectangleSelectionMeetsTheGlideNotTheRectangle() {
        // [GIVEN] a whole note on row 40 that glides ten rows up over its length, and a
        // plain note above it
        PianoRollRig rig;
        CNote glide;
        glide.position = 0;
        glide.length = 1920;
        glide.key = 40;
        glide.portamentoStart = 0;
        glide.portamentoLength = 1920;
        glide.portamentoLevel = 10 * 256;
        rig.Track().AddNote(glide);
        rig.Add(0, 20, 240);
        rig.roll->Refresh(false);
        // [WHEN] a Shift rectangle covers row 40 near the note's end, where the glide
        // has long left
        rig.Drag(rig.At(1440, 39, 2), rig.At(1680, 41, 2), Qt::ShiftModifier);
        // [THEN] nothing is selected
        QCOMPARE(rig.Track().Selection().size(), size_t{0});
        // [WHEN] it covers rows 30..32 there, where the glide runs
        rig.Drag(rig.At(1440, 30, 2), rig.At(1680, 32, 2), Qt::ShiftModifier);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 20, false}, {0, 40, true}}));
        // [THEN] and a press on the glide there hits the gliding note too
        rig.Track().SelectNote(nullptr, false);
        rig.options.noteSingleClickAdd = 0;
        const QPoint onGlide = rig.At(1800, 31, 0);
        rig.Drag(onGlide, onGlide);
        QCOMPARE(rig.Track().Selection().size(), size_t{1});
        QCOMPARE(rig.Track().Selection().front()->key, 40);
        // viewed without glides, the same rectangle misses it
        rig.options.viewPortamento = 0;
        rig.Track().SelectNote(nullptr, false);
        rig.Drag(rig.At(1440, 30, 2), rig.At(1680, 32, 2), Qt::ShiftModifier);
        QCOMPARE(rig.Track().Selection().size(), size_t{0});
    }

    void rowAndColumnSelectionsSpanAllTimeAndAllRows() {
        PianoRollRig rig;
        rig.Add(0, 10);
        rig.Add(3840, 11);
        rig.Add(7680, 30);
        // A drag down the key column from row 10 to row 11 takes both rows at any time.
        const int keys = CPianoRollGeometry::kKeyColumn / 4;
        rig.Drag(QPoint(keys, rig.At(0, 10).y()), QPoint(keys, rig.At(0, 11).y()));
        QCOMPARE(rig.Notes(),
                 (std::vector<SEEN>{{0, 10, true}, {3840, 11, true}, {7680, 30, false}}));
        // A ruler drag over the start of the third measure takes every row of that time.
        const int ruler = rig.Geometry().RulerHeight() / 2;
        rig.Drag(QPoint(rig.At(3840 + 120, 0).x(), ruler), QPoint(rig.At(4320, 0).x(), ruler));
        QCOMPARE(rig.Notes(),
                 (std::vector<SEEN>{{0, 10, false}, {3840, 11, true}, {7680, 30, false}}));
    }

    void draggingThePlayLineMovesThePlayStart() {
        PianoRollRig rig;
        QSignalSpy dragged(rig.roll, &CPianoRollWnd::playStartDragged);
        // [WHEN] pressing 2 pixels right of the play line at 0 on empty space and dragging
        rig.Drag(rig.At(0, 30, 2), rig.At(960, 30, 5));
        // [THEN] the play line went to the snapped tick and no note was entered
        QCOMPARE(rig.roll->PlayLine(), 960);
        QVERIFY(!dragged.isEmpty());
        QCOMPARE(dragged.last().at(0).toInt(), 960);
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
    }

    void boundaryDragsZoom() {
        PianoRollRig rig;
        const int ruler = rig.Geometry().RulerHeight() / 2;
        // [WHEN] the line of measure 2 (tick 1920, x = 64 + 192) is dragged to x = 448
        rig.Drag(QPoint(rig.At(1920, 0).x() + 1, ruler), QPoint(448, ruler));
        // [THEN] 4 quarters now span 384 pixels
        QCOMPARE(rig.options.pianoRollZoomX, 384);
        // and far left the zoom stops at 16
        rig.Drag(QPoint(rig.At(1920, 0).x(), ruler),
                 QPoint(CPianoRollGeometry::kKeyColumn + 1, ruler));
        QCOMPARE(rig.options.pianoRollZoomX, 16);
        // [WHEN] the line under the first C (row 11) is dragged down to 12 rows × 20 pixels
        const int h = rig.Geometry().RulerHeight();
        rig.Drag(QPoint(20, h + 12 * 12 - 1), QPoint(20, h + 12 * 20));
        QCOMPARE(rig.options.pianoRollZoomY, 20);
        rig.Drag(QPoint(20, h + 12 * 20 - 1), QPoint(20, h + 1));
        QCOMPARE(rig.options.pianoRollZoomY, 4);
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
    }

    void aDragOutsideTheNotesScrollsEveryHundredMilliseconds() {
        PianoRollRig rig;
        rig.options.noteSingleClickAdd = 0;
        QScrollBar* h = rig.roll->horizontalScrollBar();
        QCOMPARE(h->value(), 0);
        const QPoint from = rig.At(480, 20);
        rig.Press(from);
        const QPoint outside(rig.View()->width() + 5, from.y());
        rig.MoveTo(from + QPoint(10, 0));
        rig.MoveTo(outside);
        // [THEN] one beat per tick of the timer while the pointer stays right of the notes
        QTRY_VERIFY_WITH_TIMEOUT(h->value() >= 2 * 480, 2000);
        rig.Release(outside);
        const int stopped = h->value();
        QTest::qWait(300);
        QCOMPARE(h->value(), stopped);
        QCOMPARE(stopped % 480, 0);
    }

    void rightClickSelectsTheNoteUnderItAndAsksForTheMenu() {
        PianoRollRig rig;
        rig.Add(0, 40);
        const CNote* b = rig.Add(960, 42);
        rig.Track().SelectNote(b, true);
        QSignalSpy menu(rig.roll, &CPianoRollWnd::contextMenuRequested);
        const QPoint at = rig.At(0, 40, 10);
        QContextMenuEvent mouse(QContextMenuEvent::Mouse, at, rig.View()->mapToGlobal(at));
        QCoreApplication::sendEvent(rig.View(), &mouse);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 40, true}, {960, 42, false}}));
        QCOMPARE(menu.size(), 1);
        QCOMPARE(menu.last().at(0).toPoint(), rig.View()->mapToGlobal(at));
        // from the keyboard the menu opens on the middle of the caret's cell
        rig.roll->SetCaret(960, 42);
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(1, 1),
                              rig.View()->mapToGlobal(QPoint(1, 1)));
        QCoreApplication::sendEvent(rig.View(), &key);
        const CPianoRollGeometry g = rig.Geometry();
        const QPoint cell(static_cast<int>(g.XOfTick(960)) + 6, g.YOfRow(42) + 6);
        QCOMPARE(menu.last().at(0).toPoint(), rig.View()->mapToGlobal(cell));
        QCOMPARE(rig.Track().Selection().size(), size_t{1});
    }

    void theMiddleButtonPansUntilReleasedAfterAMove() {
        PianoRollRig rig;
        QScrollBar* h = rig.roll->horizontalScrollBar();
        QScrollBar* v = rig.roll->verticalScrollBar();
        v->setValue(20);
        const QPoint origin = rig.At(960, 30);
        QTest::mousePress(rig.View(), Qt::MiddleButton, Qt::NoModifier, origin);
        // inside the dead zone nothing scrolls
        QTest::mouseMove(rig.View(), origin + QPoint(16, -16));
        QTest::qWait(100);
        QCOMPARE(h->value(), 0);
        QCOMPARE(v->value(), 20);
        // right and up beyond it: both axes scroll, one line per timer tick
        QTest::mouseMove(rig.View(), origin + QPoint(40, -40));
        QTRY_VERIFY(h->value() >= 2 * 480 && v->value() <= 18);
        QTest::mouseRelease(rig.View(), Qt::MiddleButton, Qt::NoModifier, origin + QPoint(40, -40));
        const int stopped = h->value();
        QTest::qWait(100);
        QCOMPARE(h->value(), stopped);
        QCOMPARE(rig.Track().NoteCount(), size_t{0});
    }

    void pressingANoteSoundsItUntilTheButtonIsReleased() {
        PianoRollRig rig;
        rig.options.notePlay = 1;
        rig.Add(0, 40);
        rig.roll->Refresh(false);
        rig.Press(rig.At(0, 40, 10));
        QCOMPARE(rig.roll->Preview().SoundingRow(), 40);
        rig.Release(rig.At(0, 40, 10));
        QVERIFY(!rig.roll->Preview().IsSounding());
    }

    void theKeyColumnSoundsWhileHeldAndDoubleClicksSelectRowsBlocksOrAll() {
        PianoRollRig rig;
        rig.options.keyboardPlay = 1;
        rig.Add(0, 20);
        rig.Add(960, 21);
        rig.Add(2400, 20);
        rig.roll->Refresh(false);
        const QPoint key(20, rig.At(0, 20).y());
        rig.Press(key);
        QCOMPARE(rig.roll->Preview().SoundingRow(), 20);
        rig.Release(key);
        QVERIFY(!rig.roll->Preview().IsSounding());
        // the caret row's notes
        rig.DoubleClick(key);
        QCOMPARE(rig.Notes(),
                 (std::vector<SEEN>{{0, 20, true}, {960, 21, false}, {2400, 20, true}}));
        QVERIFY(!rig.roll->Preview().IsSounding());
        // the notes starting in the caret's 1920-tick block (the ruler leaves the row)
        const int ruler = rig.Geometry().RulerHeight() / 2;
        rig.DoubleClick(QPoint(rig.At(1200, 0).x(), ruler));
        QCOMPARE(rig.Notes(),
                 (std::vector<SEEN>{{0, 20, true}, {960, 21, true}, {2400, 20, false}}));
        // the corner selects everything
        rig.DoubleClick(QPoint(10, ruler));
        QCOMPARE(rig.Track().Selection().size(), size_t{3});
        // a press in the corner clears it again
        rig.Press(QPoint(10, ruler));
        rig.Release(QPoint(10, ruler));
        QCOMPARE(rig.Track().Selection().size(), size_t{0});
    }

    void aDraggedNoteBecomesTheDefaultNote() {
        PianoRollRig rig;
        rig.options.noteSelectDefault = 1;
        const CNote* note = rig.Add(480, 30, 480, 77);
        CNote values = *note;
        values.keyoff = 9;
        rig.Track().ReplaceNote(note, values);
        rig.Drag(rig.At(960, 30, -2), rig.At(1440, 30, 2));
        QCOMPARE(rig.defaults.Length(), 1200);
        QCOMPARE(rig.defaults.Keyoff(), 9);
        QCOMPARE(rig.defaults.Volume(), 77);
    }

    void hoverCursorsMarkTheZoomBoundaries() {
        PianoRollRig rig;
        const int ruler = rig.Geometry().RulerHeight() / 2;
        rig.MoveTo(QPoint(rig.At(1920, 0).x() + 2, ruler));
        QVERIFY(rig.View()->cursor().shape() != Qt::ArrowCursor);
        rig.MoveTo(QPoint(rig.At(1920 + 480, 0).x(), ruler));
        QCOMPARE(rig.View()->cursor().shape(), Qt::ArrowCursor);
        const int h = rig.Geometry().RulerHeight();
        rig.MoveTo(QPoint(20, h + 12 * 12 - 2));
        QVERIFY(rig.View()->cursor().shape() != Qt::ArrowCursor);
        rig.MoveTo(QPoint(20, h + 12 * 6));
        QCOMPARE(rig.View()->cursor().shape(), Qt::ArrowCursor);
    }

    void theStatusBarFollowsCaretAndSelection() {
        PianoRollRig rig;
        QSignalSpy status(rig.roll, &CPianoRollWnd::statusChanged);
        rig.options.noteAdd = 0;
        const QPoint at = rig.At(1920 + 240, 25, 2); // measure 2, tick 240, row 25 = A+6
        rig.MoveTo(at);
        QVERIFY(!status.isEmpty());
        QCOMPARE(status.last().at(1).toString(), QStringLiteral("A+6"));
        QCOMPARE(status.last().at(2).toString(), QStringLiteral("2:240"));
        QCOMPARE(status.last().at(0).toString(),
                 QStringLiteral("Shift 範囲選択/音長変更  Ctrl 追加選択"));
        rig.Press(at);
        rig.Release(at);
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("1 個の音符が選択されています。"));
    }

    void theWheelScrollsRowsOrWithShiftOneLineOfTime() {
        PianoRollRig rig;
        QScrollBar* h = rig.roll->horizontalScrollBar();
        QScrollBar* v = rig.roll->verticalScrollBar();
        v->setValue(10);
        auto wheel = [&](int delta, Qt::KeyboardModifiers mods) {
            const QPointF at = rig.At(960, 20);
            QWheelEvent event(at, rig.View()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                              Qt::NoButton, mods, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(rig.View(), &event);
        };
        wheel(-120, Qt::NoModifier); // towards the user: down
        QCOMPARE(v->value(), 10 + QApplication::wheelScrollLines());
        wheel(120, Qt::NoModifier);
        QCOMPARE(v->value(), 10);
        wheel(-120, Qt::ShiftModifier); // towards the user with Shift: right by one beat
        QCOMPARE(h->value(), 480);
        wheel(120, Qt::ShiftModifier);
        QCOMPARE(h->value(), 0);
        // a page of rows is an octave
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QVERIFY(v->maximum() >= 22);
        QCOMPARE(v->value(), 22);
    }

    void caretKeysMoveByFitMeasureAndRow() {
        PianoRollRig rig;
        rig.roll->SetCaret(1000, 5);
        rig.roll->setFocus();
        QTest::keyClick(rig.roll, Qt::Key_Right);
        QCOMPARE(rig.roll->CaretPosition(), 1240);
        QTest::keyClick(rig.roll, Qt::Key_PageDown);
        QCOMPARE(rig.roll->CaretPosition(), 1920);
        QTest::keyClick(rig.roll, Qt::Key_PageUp);
        QCOMPARE(rig.roll->CaretPosition(), 0);
        QTest::keyClick(rig.roll, Qt::Key_Left);
        QCOMPARE(rig.roll->CaretPosition(), 0);
        QTest::keyClick(rig.roll, Qt::Key_Up);
        QCOMPARE(rig.roll->CaretRow(), 4);
        rig.roll->SetCaret(0, 95);
        QTest::keyClick(rig.roll, Qt::Key_Down);
        QCOMPARE(rig.roll->CaretRow(), 95);
    }

    void aCtrlDragPastTheNoteLimitIsTakenBack() {
        // [GIVEN] a note 1 030 000 buckets out and a selected one 10 000 buckets long: the
        // song is near what a project file may hold
        PianoRollRig rig;
        rig.Add(1030000 * CTrack::kBucketTicks, 50);
        rig.Track().SelectNote(rig.Add(0, 40, 10000 * CTrack::kBucketTicks), true);
        QSignalSpy refused(&rig.edit, &CEditController::changeRefused);
        // [WHEN] Ctrl-dragging the long note, which leaves a copy behind
        rig.Drag(rig.At(0, 40, 10), rig.At(480, 41, 10), Qt::ControlModifier);
        // [THEN] the duplicate is refused and the song is as before, with no undo step
        QCOMPARE(refused.size(), 1);
        QCOMPARE(rig.Notes(),
                 (std::vector<SEEN>{{0, 40, true}, {1030000 * CTrack::kBucketTicks, 50, false}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), 0);
    }
};

QTEST_MAIN(PianoRollEditTest)
#include "PianoRollEditTest.moc"
