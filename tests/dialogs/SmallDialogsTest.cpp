// The small parameter dialogs: jump, endless loop, measure, split and the adjustments.
#include "DialogTestUtil.h"

#include "dialogs/CAdjustDialog.h"
#include "dialogs/CJumpDialog.h"
#include "dialogs/CLoopDialog.h"
#include "dialogs/CMeasureDialog.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/CSplitDialog.h"
#include "model/CBeats.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

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
};

QTEST_MAIN(SmallDialogsTest)
#include "SmallDialogsTest.moc"
