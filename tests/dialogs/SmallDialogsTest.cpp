// The small parameter dialogs: jump, endless loop, measure, split, the adjustments and the
// tempo and volume items of the timeline lists.
#include "DialogTestUtil.h"

#include "dialogs/CAdjustDialog.h"
#include "dialogs/CJumpDialog.h"
#include "dialogs/CLoopDialog.h"
#include "dialogs/CMeasureDialog.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/CSplitDialog.h"
#include "dialogs/CTempoDialog.h"
#include "dialogs/CVolumeDialog.h"
#include "model/CBeats.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

using namespace dlgtest;

namespace {
QString Text(CNumberEdit* edit) {
    return edit->findChild<QLineEdit*>()->text();
}
} // namespace

class SmallDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    void jumpReturnsTheTypedPosition() {
        CBeats beats;
        beats.Assign({BEAT{0, 3, 4}});
        CJumpDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("ジャンプ"));
        dialog.SetBeats(&beats);
        dialog.SetPosition(1440);
        auto* position = Child<CPositionEdit>(&dialog, "position");
        QCOMPARE(position->text(), QStringLiteral("2:0"));
        QVERIFY(ShowActive(&dialog));
        TypeOver(position, "3:100");
        Click(OkButton(&dialog));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetPosition(), 2880 + 100);
    }

    // [GIVEN] loop off [THEN] boxes and labels disabled; [WHEN] switched on [THEN] enabled
    void loopBoxesFollowTheSwitch() {
        CLoopDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("無限ループの設定"));
        auto* enabled = Child<QCheckBox>(&dialog, "enabled");
        QCOMPARE(enabled->text(), QStringLiteral("無限ループを有効にする(&L)"));
        auto* start = Child<CPositionEdit>(&dialog, "start");
        auto* end = Child<CPositionEdit>(&dialog, "end");
        QVERIFY(ShowActive(&dialog));
        QVERIFY(!start->isEnabled());
        QVERIFY(!end->isEnabled());
        for (QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY(!label->isEnabled());
        Click(enabled);
        QVERIFY(dialog.IsLoopEnabled());
        QVERIFY(start->isEnabled() && end->isEnabled());
        for (QLabel* label : dialog.findChildren<QLabel*>())
            QVERIFY(label->isEnabled());
    }

    // [GIVEN] end 1:0 and start 3:0 [WHEN] a box is left [THEN] the end becomes 3:0
    void loopEndRaisedToStartOnLeaving() {
        CLoopDialog dialog;
        dialog.SetLoopEnabled(false);
        dialog.SetLoopStart(0);
        dialog.SetLoopEnd(0);
        auto* start = Child<CPositionEdit>(&dialog, "start");
        auto* end = Child<CPositionEdit>(&dialog, "end");
        QVERIFY(ShowActive(&dialog));
        Click(Child<QCheckBox>(&dialog, "enabled"));
        TypeOver(end, "1:0");
        TypeOver(start, "3:0");
        QCOMPARE(end->text(), QStringLiteral("1:0"));
        Leave(start, end);
        QCOMPARE(end->text(), QStringLiteral("3:0"));
        TypeOver(end, "2:0");
        Leave(end, start);
        QCOMPARE(end->text(), QStringLiteral("3:0"));
        TypeOver(end, "4:960");
        Leave(end, start);
        Click(OkButton(&dialog));
        QVERIFY(dialog.IsLoopEnabled());
        QCOMPARE(dialog.GetLoopStart(), 3840);
        QCOMPARE(dialog.GetLoopEnd(), 5760 + 960);
    }

    void loopEndNeverComesBackBeforeStart() {
        CLoopDialog dialog;
        dialog.SetLoopEnabled(true);
        dialog.SetLoopStart(3840);
        dialog.SetLoopEnd(100);
        QCOMPARE(dialog.GetLoopEnd(), 3840);
    }

    // [WHEN] 0 and an empty count are left [THEN] both are raised to 1
    void measureRaisesBelowOne() {
        CMeasureDialog dialog;
        dialog.setWindowTitle(QStringLiteral("小節の挿入"));
        dialog.SetMeasure(5);
        dialog.SetCount(3);
        auto* measure = Child<CNumberEdit>(&dialog, "measure");
        auto* count = Child<CNumberEdit>(&dialog, "count");
        QCOMPARE(Text(measure), QStringLiteral("5"));
        QVERIFY(ShowActive(&dialog));
        TypeOver(measure, "0");
        Leave(measure, count);
        QCOMPARE(Text(measure), QStringLiteral("1"));
        TypeOver(count, "12");
        Click(OkButton(&dialog));
        QCOMPARE(dialog.GetMeasure(), 1);
        QCOMPARE(dialog.GetCount(), 12);
    }

    void splitClampsTo256() {
        CSplitDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("分割"));
        auto* count = Child<CNumberEdit>(&dialog, "count");
        QVERIFY(ShowActive(&dialog));
        TypeOver(count, "999");
        Leave(count, OkButton(&dialog));
        QCOMPARE(Text(count), QStringLiteral("256"));
        QCOMPARE(dialog.GetCount(), 256);
        TypeOver(count, "0");
        Leave(count, OkButton(&dialog));
        QCOMPARE(dialog.GetCount(), 1);
    }

    // [GIVEN] fit chosen [THEN] the amount is disabled; [WHEN] change chosen [THEN] enabled
    void adjustAmountOnlyWithChange() {
        CAdjustDialog dialog(CAdjustDialog::Kind::Length);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("音長の調整"));
        dialog.SetMode(CAdjustDialog::kFit);
        dialog.SetAmount(-480);
        auto* amount = Child<CNumberEdit>(&dialog, "amount");
        auto* change = Child<QRadioButton>(&dialog, "change");
        QCOMPARE(change->text(), QStringLiteral("増減(&I):"));
        QCOMPARE(Child<QRadioButton>(&dialog, "fit")->text(), QStringLiteral("フィット(&F)"));
        QVERIFY(ShowActive(&dialog));
        QVERIFY(!amount->isEnabled());
        Click(change);
        QVERIFY(amount->isEnabled());
        QCOMPARE(dialog.GetMode(), int(CAdjustDialog::kChange));
        TypeOver(amount, "-2147483648");
        Click(OkButton(&dialog));
        QCOMPARE(dialog.GetAmount(), std::numeric_limits<int32_t>::min());
    }

    void adjustVolumeHasOnlyTheAmount() {
        CAdjustDialog dialog(CAdjustDialog::Kind::Volume);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("音量の調整"));
        QVERIFY(dialog.findChild<QRadioButton*>() == nullptr);
        auto* amount = Child<CNumberEdit>(&dialog, "amount");
        QVERIFY(ShowActive(&dialog));
        TypeOver(amount, "-300");
        Leave(amount, OkButton(&dialog));
        QCOMPARE(dialog.GetAmount(), -255);
        QCOMPARE(CAdjustDialog(CAdjustDialog::Kind::Position).windowTitle(),
                 QStringLiteral("位置の調整"));
    }

    void cancelLeavesTheResultRejected() {
        CSplitDialog dialog;
        QVERIFY(ShowActive(&dialog));
        Click(CancelButton(&dialog));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(CancelButton(&dialog)->text(), QStringLiteral("キャンセル"));
    }

    void timelineItemsTabFromPositionToValueAndFixTheFirstAtZero_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("tempo") << "tempo";
        QTest::newRow("volume") << "volume";
    }

    // [GIVEN] an item at 2:0 [WHEN] Tab is pressed in the position [THEN] the value and then
    // OK take the focus; [WHEN] it becomes the first entry [THEN] its position is 0 and fixed
    void timelineItemsTabFromPositionToValueAndFixTheFirstAtZero() {
        QFETCH(QString, value);
        std::unique_ptr<CTempoDialog> tempo;
        std::unique_ptr<CVolumeDialog> volume;
        QDialog* dialog = nullptr;
        if (value == "tempo") {
            tempo = std::make_unique<CTempoDialog>();
            tempo->SetTempo(TEMPO{1920, 90.0});
            dialog = tempo.get();
        } else {
            volume = std::make_unique<CVolumeDialog>();
            volume->SetVolume(VOLUME{1920, 64});
            dialog = volume.get();
        }
        QVERIFY(ShowActive(dialog));
        auto* position = Child<CPositionEdit>(dialog, "position");
        QCOMPARE(position->text(), QStringLiteral("2:0"));
        position->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(Child<QWidget>(dialog, value.toLatin1().constData())->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(OkButton(dialog)->hasFocus());

        if (tempo)
            tempo->SetFirst(true);
        else
            volume->SetFirst(true);
        QCOMPARE(position->text(), QStringLiteral("1:0"));
        QVERIFY(!position->isEnabled());
        QVERIFY(OkButton(dialog)->isEnabled());
        QCOMPARE(tempo ? tempo->GetTempo().position : volume->GetVolume().position, 0);
    }
};

QTEST_MAIN(SmallDialogsTest)
#include "SmallDialogsTest.moc"
