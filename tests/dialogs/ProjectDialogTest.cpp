// The project settings dialog: fields, clamps, and the lists and loop it opens.
#include "DialogTestUtil.h"

#include "dialogs/CDecimalEdit.h"
#include "dialogs/CLoopDialog.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/CProjectDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

using namespace dlgtest;

namespace {

CProjectData SampleData() {
    CProjectData data;
    data.name = "song";
    data.volumes.Assign({VOLUME{0, 100}, VOLUME{1920, 50}});
    data.tempos.Assign({TEMPO{0, 97.5}, TEMPO{3840, 140.0}});
    data.beats.Assign({BEAT{0, 3, 8}, BEAT{4, 4, 4}});
    data.transpose = -3;
    data.channels = 1;
    data.samplesPerSec = 22050;
    data.bitsPerSample = 24;
    data.startDummy = 500;
    data.endDummy = 0;
    data.fadeOut = 3000;
    data.fadeOutType = 2;
    data.reductionPuchiNoise = 0;
    data.loopEnabled = 1;
    data.loopStart = 1920;
    data.loopEnd = 3840;
    return data;
}

} // namespace

class ProjectDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // [GIVEN] song data [WHEN] OK untouched [THEN] the same data comes back
    void untouchedDataRoundTrips() {
        const CProjectData data = SampleData();
        CProjectDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("プロジェクトの設定"));
        dialog.SetProjectData(data);
        QCOMPARE(Child<QComboBox>(&dialog, "baseBeat")->currentText(), QStringLiteral("8"));
        QCOMPARE(Child<QComboBox>(&dialog, "bitsPerSample")->currentText(),
                 QStringLiteral("24bit (PCM)"));
        QCOMPARE(Child<QComboBox>(&dialog, "channels")->currentText(),
                 QStringLiteral("1 (モノラル)"));
        QCOMPARE(Child<QComboBox>(&dialog, "fadeOutType")->currentText(), QStringLiteral("曲線2"));
        QVERIFY(ShowActive(&dialog));
        Click(OkButton(&dialog));
        QVERIFY(dialog.GetProjectData() == data);
    }

    // [WHEN] fields are edited [THEN] only the first entries of the lists change
    void fieldsEditTheFirstEntries() {
        CProjectDialog dialog;
        dialog.SetProjectData(SampleData());
        QVERIFY(ShowActive(&dialog));
        TypeOver(Child<CNumberEdit>(&dialog, "volume"), "999");
        TypeOver(Child<CDecimalEdit>(&dialog, "tempo"), "133.5");
        TypeOver(Child<CNumberEdit>(&dialog, "transpose"), "-150");
        TypeOver(Child<CNumberEdit>(&dialog, "beat"), "70");
        Child<QComboBox>(&dialog, "baseBeat")->setCurrentIndex(6);
        Child<QComboBox>(&dialog, "bitsPerSample")->setCurrentIndex(4);
        TypeOver(Child<CNumberEdit>(&dialog, "startDummy"), "20000");
        TypeOver(Child<CNumberEdit>(&dialog, "fadeOut"), "100001");
        Click(Child<QCheckBox>(&dialog, "reductionPuchiNoise"));
        Click(OkButton(&dialog));
        const CProjectData got = dialog.GetProjectData();
        QCOMPARE(got.volumes.size(), size_t(2));
        QCOMPARE(got.volumes[0], (VOLUME{0, 255}));
        QCOMPARE(got.volumes[1], (VOLUME{1920, 50}));
        QCOMPARE(got.tempos[0], (TEMPO{0, 133.5}));
        QCOMPARE(got.tempos[1], (TEMPO{3840, 140.0}));
        QCOMPARE(got.beats[0], (BEAT{0, 64, 64}));
        QCOMPARE(got.beats[1], (BEAT{4, 4, 4}));
        QCOMPARE(got.transpose, -100);
        QCOMPARE(got.bitsPerSample, 64);
        QCOMPARE(got.startDummy, 10000);
        QCOMPARE(got.fadeOut, 100000);
        QCOMPARE(got.reductionPuchiNoise, 1);
        QCOMPARE(got.name, std::string("song"));
    }

    void rateClampedOnLeaving_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rate");
        QTest::newRow("above") << "500000" << 384000;
        QTest::newRow("below") << "500" << 1000;
        QTest::newRow("inside") << "12345" << 12345;
        QTest::newRow("empty keeps the old rate") << "" << 22050;
    }
    void rateClampedOnLeaving() {
        QFETCH(QString, typed);
        QFETCH(int, rate);
        CProjectDialog dialog;
        dialog.SetProjectData(SampleData());
        QVERIFY(ShowActive(&dialog));
        auto* list = Child<QComboBox>(&dialog, "samplesPerSec");
        TypeOver(list->lineEdit(), typed);
        if (typed.isEmpty())
            QTest::keyClick(list->lineEdit(), Qt::Key_Delete);
        Leave(list->lineEdit(), Child<CNumberEdit>(&dialog, "volume"));
        QCOMPARE(list->currentText(), QString::number(rate));
        QCOMPARE(dialog.GetProjectData().samplesPerSec, rate);
    }

    void rateListOffersTheFixedRates() {
        CProjectDialog dialog;
        auto* list = Child<QComboBox>(&dialog, "samplesPerSec");
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        QCOMPARE(items, QStringList({"384000", "192000", "96000", "48000", "44100", "32000",
                                     "22050", "16000", "11050", "8000", "4000", "2000", "1000"}));
        list->setCurrentIndex(8);
        QCOMPARE(dialog.GetProjectData().samplesPerSec, 11050);
    }

    // [GIVEN] tempo 120.5 [WHEN] stepped up [THEN] 121, down [THEN] 120
    void tempoSpinStepsTheWholePart() {
        CProjectData data;
        data.tempos.Assign({TEMPO{0, 120.5}});
        CProjectDialog dialog;
        dialog.SetProjectData(data);
        QVERIFY(ShowActive(&dialog));
        auto* tempo = Child<CDecimalEdit>(&dialog, "tempo");
        tempo->setFocus();
        QTest::keyClick(tempo, Qt::Key_Up);
        QCOMPARE(dialog.GetProjectData().tempos[0].tempo, 121.0);
        dialog.SetProjectData(data);
        QTest::keyClick(tempo, Qt::Key_Down);
        QCOMPARE(dialog.GetProjectData().tempos[0].tempo, 120.0);
    }

    void defaultModeDisablesTempoAndBeatLists() {
        CProjectDialog dialog;
        dialog.SetTempoListEnabled(false);
        dialog.SetBeatListEnabled(false);
        QVERIFY(!Child<QPushButton>(&dialog, "tempoList")->isEnabled());
        QVERIFY(!Child<QPushButton>(&dialog, "beatList")->isEnabled());
        QVERIFY(Child<QPushButton>(&dialog, "volumeList")->isEnabled());
        QVERIFY(Child<QPushButton>(&dialog, "loop")->isEnabled());
    }

    // [WHEN] the tempo list is opened after editing the field [THEN] it shows the field's
    // value; [WHEN] its first entry is edited [THEN] the field follows
    void tempoListSharesTheFirstEntry() {
        CProjectDialog dialog;
        dialog.SetProjectData(SampleData());
        QVERIFY(ShowActive(&dialog));
        TypeOver(Child<CDecimalEdit>(&dialog, "tempo"), "150");
        OnNextModal(&dialog, [&dialog](QDialog* list) {
            QCOMPARE(list->windowTitle(), QStringLiteral("テンポの設定"));
            auto* tree = Child<QTreeWidget>(list, "list");
            QCOMPARE(tree->topLevelItem(0)->text(1), QStringLiteral("150"));
            // 3840 ticks in 3/8 from measure 1 and 4/4 from measure 5: 4 x 720 + 960.
            QCOMPARE(tree->topLevelItem(1)->text(0), QStringLiteral("5:960"));
            tree->setCurrentItem(tree->topLevelItem(0));
            OnNextModal(list, [](QDialog* item) {
                TypeOver(Child<CDecimalEdit>(item, "tempo"), "88");
                Click(OkButton(item));
            });
            Click(Child<QPushButton>(list, "edit"));
            Click(OkButton(list));
            Q_UNUSED(dialog);
        });
        Click(Child<QPushButton>(&dialog, "tempoList"));
        QCOMPARE(dialog.GetProjectData().tempos[0].tempo, 88.0);
        QCOMPARE(Child<CDecimalEdit>(&dialog, "tempo")->Value(), 88.0);
    }

    // [WHEN] the beat list's first entry is deleted [THEN] the fields show the new first
    void beatListChangesReachTheFields() {
        CProjectDialog dialog;
        dialog.SetProjectData(SampleData());
        QVERIFY(ShowActive(&dialog));
        OnNextModal(&dialog, [](QDialog* list) {
            auto* tree = Child<QTreeWidget>(list, "list");
            tree->setCurrentItem(tree->topLevelItem(0));
            Click(Child<QPushButton>(list, "remove"));
            Click(OkButton(list));
        });
        Click(Child<QPushButton>(&dialog, "beatList"));
        QCOMPARE(Child<QComboBox>(&dialog, "baseBeat")->currentText(), QStringLiteral("4"));
        const CProjectData got = dialog.GetProjectData();
        QCOMPARE(got.beats.size(), size_t(1));
        QCOMPARE(got.beats[0], (BEAT{0, 4, 4}));
    }

    void cancelledListKeepsTheData() {
        CProjectDialog dialog;
        dialog.SetProjectData(SampleData());
        QVERIFY(ShowActive(&dialog));
        OnNextModal(&dialog, [](QDialog* list) {
            auto* tree = Child<QTreeWidget>(list, "list");
            tree->setCurrentItem(tree->topLevelItem(1));
            Click(Child<QPushButton>(list, "remove"));
            Click(CancelButton(list));
        });
        Click(Child<QPushButton>(&dialog, "volumeList"));
        QCOMPARE(dialog.GetProjectData().volumes.size(), size_t(2));
    }

    void loopButtonEditsTheLoop() {
        CProjectDialog dialog;
        dialog.SetProjectData(SampleData());
        QVERIFY(ShowActive(&dialog));
        OnNextModal(&dialog, [](QDialog* loop) {
            QCOMPARE(loop->windowTitle(), QStringLiteral("無限ループの設定"));
            QVERIFY(Child<QCheckBox>(loop, "enabled")->isChecked());
            auto* start = Child<CPositionEdit>(loop, "start");
            QCOMPARE(start->text(), QStringLiteral("3:480")); // 1920 in 3/8
            TypeOver(start, "9:0");
            Click(OkButton(loop));
        });
        Click(Child<QPushButton>(&dialog, "loop"));
        const CProjectData got = dialog.GetProjectData();
        QCOMPARE(got.loopStart, 4 * 720 + 4 * 1920);
        QCOMPARE(got.loopEnd, got.loopStart);
        QCOMPARE(got.loopEnabled, 1);
    }

    void damagedValuesShowInRange() {
        CProjectData data;
        data.channels = 7;
        data.samplesPerSec = 5;
        data.bitsPerSample = 12;
        data.fadeOutType = 9;
        data.beats.Assign({BEAT{0, 4, 0}});
        CProjectDialog dialog;
        dialog.SetProjectData(data);
        const CProjectData got = dialog.GetProjectData();
        QCOMPARE(got.channels, 2);
        QCOMPARE(got.samplesPerSec, 1000);
        QCOMPARE(got.bitsPerSample, 16);
        QCOMPARE(got.fadeOutType, 2);
        QCOMPARE(got.beats[0].baseBeat, 4);
    }
};

QTEST_MAIN(ProjectDialogTest)
#include "ProjectDialogTest.moc"
