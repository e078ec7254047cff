// What screen readers and keyboard users get from the editor: every control of the
// program's own has a name and a description, the track list reads out its rows, the piano
// roll reads out the caret and the note under it as the arrow keys move it, and in every
// dialog Tab reaches every control in reading order.

#include "DialogCatalogue.h"
#include "UiTestSupport.h"
#include "WidgetChecks.h"

#include "model/CProject.h"
#include "model/PositionText.h"
#include "ui/CMainFrame.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/pianoroll/PianoRollText.h"
#include "ui/presets/CPresetBrowser.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QAccessible>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString Position(const CProject& song, int32_t tick) {
    return QString::fromStdString(FormatPosition(song.data.beats, tick));
}

} // namespace

class AccessibilityTest : public FrameTestBase {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenFrame()); }
    void cleanup() { CloseFrame(); }

    void everyOwnControlHasANameAndADescription() {
        frame->PresetBrowser().show();
        QStringList faults = widget_checks::UnnamedCustomWidgets(frame.get());
        DialogCatalogue dialogs;
        for (const auto& entry : dialogs.Entries()) {
            std::unique_ptr<QDialog> dialog = entry.make();
            for (const QString& fault : widget_checks::UnnamedCustomWidgets(dialog.get()))
                faults << entry.name + QStringLiteral(": ") + fault;
        }
        QVERIFY(widget_checks::Report(faults));
    }

    void theTrackListReadsOutItsRows() {
        // [GIVEN] a lead on a square wave and a muted bass on a triangle
        CProject song = MakeSong(1);
        song.tracks.resize(2);
        song.tracks[0].settings.name = "Lead";
        song.tracks[0].settings.waveform = kSquare;
        song.tracks[0].settings.volume = 200;
        song.tracks[1].settings.name = "Bass";
        song.tracks[1].settings.waveform = kTriangle;
        song.tracks[1].settings.volume = 90;
        song.tracks[1].settings.mute = 1;
        SetSong(song);
        CTrackWnd& list = frame->TrackWnd();
        list.setCurrentRow(0);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&list);
        QVERIFY(iface != nullptr);
        QCOMPARE(iface->role(), QAccessible::List);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("トラック一覧"));
        // [THEN] one item per row: name, source kind, volume and the mute
        QCOMPARE(iface->childCount(), 2);
        QCOMPARE(iface->child(0)->text(QAccessible::Name),
                 QStringLiteral("Lead、矩形波、音量 200"));
        QCOMPARE(iface->child(1)->text(QAccessible::Name),
                 QStringLiteral("Bass、三角波、音量 90、ミュート"));
        QCOMPARE(iface->indexOfChild(iface->child(1)), 1);
        QCOMPARE(iface->child(1)->parent(), iface);
        QVERIFY(iface->child(0)->state().selected);
        QVERIFY(!iface->child(1)->state().selected);
        QVERIFY(iface->child(2) == nullptr);
        // [WHEN] the down arrow picks the bass [THEN] its row is the selected and focused one
        list.setFocus();
        QTRY_VERIFY(list.hasFocus());
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.currentRow(), 1);
        QVERIFY(iface->child(1)->state().selected);
        QVERIFY(iface->child(1)->state().focused);
        QVERIFY(!iface->child(0)->state().selected);
        QCOMPARE(iface->focusChild(), iface->child(1));
        // [WHEN] the song loses a track [THEN] the gone row's item is no longer valid
        QAccessibleInterface* bass = iface->child(1);
        song.tracks.resize(1);
        SetSong(song);
        QCOMPARE(iface->childCount(), 1);
        QVERIFY(!bass->isValid());
        QCOMPARE(iface->indexOfChild(bass), -1);
    }

    void thePianoRollReadsOutTheCaretAndTheNoteUnderIt() {
        // [GIVEN] quarter notes from tick 0 on rows 40, 41, 42, …
        const CProject song = MakeSong(4);
        SetSong(song);
        CPianoRollWnd& roll = frame->PianoRollWnd();
        roll.SetCaret(0, 40);
        roll.setFocus();
        QTRY_VERIFY(roll.hasFocus());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&roll);
        QVERIFY(iface != nullptr);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("ピアノロール"));
        QVERIFY(!iface->text(QAccessible::Description).isEmpty());
        const QString first = Position(song, 0);
        QCOMPARE(iface->text(QAccessible::Value),
                 QStringLiteral("キャレット %1、%2。音符 %2、位置 %1、長さ 480、音量 255")
                     .arg(first, piano_roll_text::KeyName(40)));
        // [WHEN] the down arrow moves the caret to a row without a note at its tick
        QTest::keyClick(&roll, Qt::Key_Down);
        QCOMPARE(roll.CaretRow(), 41);
        QCOMPARE(iface->text(QAccessible::Value),
                 QStringLiteral("キャレット %1、%2").arg(first, piano_roll_text::KeyName(41)));
        // [WHEN] the right arrow walks on to the second note, which starts at tick 480
        while (roll.CaretPosition() < 480)
            QTest::keyClick(&roll, Qt::Key_Right);
        QVERIFY(roll.CaretPosition() < 960);
        const QString second =
            QStringLiteral("キャレット %1、%2。音符 %2、位置 %3、長さ 480、音量 255")
                .arg(Position(song, roll.CaretPosition()), piano_roll_text::KeyName(41),
                     Position(song, 480));
        QCOMPARE(iface->text(QAccessible::Value), second);
    }

    void tabReachesEveryControlOfEveryDialogInReadingOrder() {
        DialogCatalogue dialogs;
        QStringList faults;
        for (const auto& entry : dialogs.Entries()) {
            std::unique_ptr<QDialog> dialog = entry.make();
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
            OnEveryPage(dialog.get(), [&] {
                for (const QString& fault : widget_checks::UnreachableControls(dialog.get()) +
                                                widget_checks::TabOrderFaults(dialog.get()))
                    faults << entry.name + QStringLiteral(": ") + fault;
            });
        }
        QVERIFY(widget_checks::Report(faults));
    }

    void tabReachesThePanesAndBarsOfTheWindow() {
        const QStringList faults = widget_checks::UnreachableControls(frame.get());
        QVERIFY(widget_checks::Report(faults));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    UsePrivateHome(home);
    QApplication application(argc, argv);
    UsePrivateSettings(home);
    AccessibilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AccessibilityTest.moc"
