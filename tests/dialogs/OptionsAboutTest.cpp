// The options dialog and its record, and the about box.
#include "DialogTestUtil.h"

#include "dialogs/CAboutDlg.h"
#include "dialogs/CColorButton.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/COptionsDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>

using namespace dlgtest;

namespace {

// Every field different from its default.
OPTIONS Unusual() {
    OPTIONS o;
    o.pianoRollZoomX = 300;
    o.pianoRollZoomY = 7;
    o.crNote = 0x010203;
    o.viewInactiveNote = 1;
    o.viewInactiveNoteColor = 0;
    o.crInactiveNote = 0x040506;
    o.viewInactiveMuteNoteColor = 1;
    o.crInactiveMuteNote = 0x070809;
    o.crSelectedNote = 0x0A0B0C;
    o.viewGradation = 1;
    o.viewPortamento = 0;
    o.viewPosCaret = 0;
    o.viewNoteCaret = 0;
    o.scrollMeasure = 1;
    o.noteSingleClickAdd = 0;
    o.noteAdd = 1;
    o.noteRightDragLength = 0;
    o.noteSelectDefault = 0;
    o.notePlay = 0;
    o.keyboardPlay = 0;
    o.playBufferSize = 250;
    o.playMove = 0;
    o.playScroll = 0;
    o.livePlayback = 0;
    o.metronomeVolume = 35;
    o.buildThreads = 5;
    o.buildSaveIncremental = 0;
    o.buildSaveProject = 1;
    o.buildEncode = 1;
    o.pcmDefaultPath = "/tmp/サウンド";
    o.importRhythmAutoLength = 1;
    o.importRhythmAutoLengthLength = 240;
    o.restoreWindow = 0;
    o.projectDefaultPath = "/tmp/projects";
    o.interfaceLanguage = 2;
    return o;
}

QStringList VisibleTexts(QWidget* dialog) {
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        texts << button->text();
    return texts;
}

} // namespace

class OptionsAboutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    void defaultsFollowTheMachine() {
        const OPTIONS o = DefaultOptions();
        QVERIFY(o.buildThreads >= 1 && o.buildThreads <= 32);
        QCOMPARE(CColorButton::ToQColor(o.crSelectedNote),
                 QGuiApplication::palette().color(QPalette::Highlight));
        const std::string documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
        QCOMPARE(o.pcmDefaultPath, documents);
        QCOMPARE(o.projectDefaultPath, documents);
        QCOMPARE(o.pianoRollZoomX, 192);
        QCOMPARE(o.noteAdd, 2);
        QCOMPARE(o.crInactiveNote, 0x808000u);
    }

    // [GIVEN] options unlike the defaults [WHEN] OK untouched [THEN] the same come back
    void optionsRoundTrip() {
        COptionsDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("オプション"));
        dialog.SetOptions(Unusual());
        QVERIFY(ShowActive(&dialog));
        Click(OkButton(&dialog));
        QVERIFY(dialog.GetOptions() == Unusual());
        dialog.SetOptions(OPTIONS{});
        QVERIFY(dialog.GetOptions() == OPTIONS{});
    }

    // [GIVEN] the stored choice of language [WHEN] another is chosen with the keyboard
    // [THEN] it comes back, and the dialog says when it takes effect
    void languageChoiceRoundTrip() {
        COptionsDialog dialog;
        dialog.SetOptions(OPTIONS{});
        auto* language = Child<QComboBox>(&dialog, "interfaceLanguage");
        QCOMPARE(language->currentText(), QStringLiteral("自動"));
        QCOMPARE(language->itemText(1), QStringLiteral("日本語"));
        QCOMPARE(language->itemText(2), QStringLiteral("English"));
        QVERIFY(ShowActive(&dialog));
        Child<QTabWidget>(&dialog, "tabs")->setCurrentIndex(5);
        language->setFocus();
        QTest::keyClick(language, Qt::Key_Down);
        QTest::keyClick(language, Qt::Key_Down);
        Click(OkButton(&dialog));
        QCOMPARE(dialog.GetOptions().interfaceLanguage, 2);
        OPTIONS japanese;
        japanese.interfaceLanguage = 1;
        dialog.SetOptions(japanese);
        QCOMPARE(language->currentIndex(), 1);
        QCOMPARE(dialog.GetOptions().interfaceLanguage, 1);
    }

    void everyLabelIsShown() {
        COptionsDialog dialog;
        const QStringList texts = VisibleTexts(&dialog);
        const char* const expected[] = {
            "横方向のサイズ（全音符当たりのピクセル数）(&H):",
            "縦方向のサイズ（キー当たりのピクセル数）(&V):",
            "音符の色(&C):",
            "非アクティブトラックの音符を表示する(&I)",
            "非アクティブトラックの音符の色(&N):",
            "ミュートトラックの音符の色(&M):",
            "選択された音符の色(&S):",
            "音符をグラデーションで表示する(&G)",
            "ポルタメントを表現する(&O)",
            "位置キャレットを表示する(&P)",
            "音符キャレットを表示する(&T)",
            "スクロール(&R):",
            "シングルクリックで入力する(&S)",
            "入力直後のマウスドラッグ(&D):",
            "音符の右端をドラッグして音長を変更する(&L)",
            "左クリックで選択した音符を既定にする(&F)",
            "音符入力、選択時に音を再生する(&P)",
            "鍵盤クリック時に音を再生する(&K)",
            "再生バッファサイズ(&B):",
            "再生位置に追従してキャレットを移動する(&M)",
            "キャレットに追従してスクロールする(&S)",
            "ビルドに使用するスレッドの数(&T):",
            "インクリメンタルビルドの情報を保存する(*.tqb)(&I)",
            "ビルド時にプロジェクトを保存する(&S)",
            "ビルド後にエンコードする(&E)",
            "Wave サウンドファイルのデフォルトフォルダ(&F):",
            "リズムチャンネルの音長を自動調整する(&Y):",
            "起動時に前回終了時のウィンドウ位置を復元する(&W)",
            "言語 / Language(&L):",
            "言語の変更は次回の起動時から反映されます。",
        };
        for (const char* text : expected)
            QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
        auto* noteAdd = Child<QComboBox>(&dialog, "noteAdd");
        QCOMPARE(noteAdd->itemText(0), QStringLiteral("何もしない"));
        QCOMPARE(noteAdd->itemText(2), QStringLiteral("音長を変更"));
        QCOMPARE(Child<QComboBox>(&dialog, "scrollMeasure")->itemText(1),
                 QStringLiteral("小節単位"));
    }

    // [GIVEN] inactive notes hidden [THEN] their colour switches are disabled
    void inactiveColoursNeedTheInactiveSwitch() {
        COptionsDialog dialog;
        OPTIONS o;
        o.viewInactiveNote = 0;
        o.viewInactiveNoteColor = 1;
        dialog.SetOptions(o);
        QVERIFY(ShowActive(&dialog));
        Child<QTabWidget>(&dialog, "tabs")->setCurrentIndex(1);
        auto* inactiveColor = Child<QCheckBox>(&dialog, "viewInactiveNoteColor");
        auto* inactiveButton = Child<CColorButton>(&dialog, "crInactiveNote");
        auto* muteButton = Child<CColorButton>(&dialog, "crInactiveMuteNote");
        QVERIFY(!inactiveColor->isEnabled());
        QVERIFY(!inactiveButton->isEnabled());
        Click(Child<QCheckBox>(&dialog, "viewInactiveNote"));
        QVERIFY(inactiveColor->isEnabled());
        QVERIFY(inactiveButton->isEnabled());
        QVERIFY(!muteButton->isEnabled());
        Click(Child<QCheckBox>(&dialog, "viewInactiveMuteNoteColor"));
        QVERIFY(muteButton->isEnabled());
    }

    // The chosen MIDI port by name, "なし" for none, and a chosen port that is not plugged in
    // stays chosen.
    void midiPortsAreListedAndAnAbsentChoiceIsKept() {
        COptionsDialog dialog;
        dialog.SetMidiPorts({QStringLiteral("Keys: Keys MIDI 1"), QStringLiteral("Pad: In")});
        OPTIONS o;
        o.midiInputPort = "Old: Gone";
        dialog.SetOptions(o);
        QVERIFY(ShowActive(&dialog));
        Child<QTabWidget>(&dialog, "tabs")->setCurrentIndex(3);
        auto* ports = Child<QComboBox>(&dialog, "midiInputPort");
        QCOMPARE(ports->count(), 4);
        QCOMPARE(ports->itemText(0), QStringLiteral("なし"));
        QCOMPARE(ports->currentText(), QStringLiteral("Old: Gone (未接続)"));
        QCOMPARE(dialog.GetOptions().midiInputPort, std::string("Old: Gone"));
        ports->setFocus();
        QTest::keyClick(ports, Qt::Key_Home);
        QCOMPARE(dialog.GetOptions().midiInputPort, std::string());
        QTest::keyClick(ports, Qt::Key_Down);
        QCOMPARE(dialog.GetOptions().midiInputPort, std::string("Keys: Keys MIDI 1"));
    }

    void rhythmLengthNeedsItsSwitch() {
        COptionsDialog dialog;
        QVERIFY(ShowActive(&dialog));
        Child<QTabWidget>(&dialog, "tabs")->setCurrentIndex(5);
        auto* length = Child<CNumberEdit>(&dialog, "importRhythmAutoLengthLength");
        QVERIFY(!length->isEnabled());
        Click(Child<QCheckBox>(&dialog, "importRhythmAutoLength"));
        QVERIFY(length->isEnabled());
        TypeOver(length, "0");
        Leave(length, Child<QLineEdit>(&dialog, "pcmDefaultPath"));
        QCOMPARE(dialog.GetOptions().importRhythmAutoLengthLength, 1);
    }

    void typedNumbersAreKeptInRange_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::newRow("zoom x below") << "pianoRollZoomX"
                                      << "5" << 16;
        QTest::newRow("zoom x typed") << "pianoRollZoomX"
                                      << "600" << 600;
        QTest::newRow("zoom y above") << "pianoRollZoomY"
                                      << "900" << 64;
        QTest::newRow("buffer zero") << "playBufferSize"
                                     << "0" << 10;
        QTest::newRow("buffer empty") << "playBufferSize"
                                      << "" << 100;
    }
    void typedNumbersAreKeptInRange() {
        QFETCH(QString, list);
        QFETCH(QString, typed);
        QFETCH(int, value);
        COptionsDialog dialog;
        QVERIFY(ShowActive(&dialog));
        auto* box = Child<QComboBox>(&dialog, list.toLatin1().constData());
        Child<QTabWidget>(&dialog, "tabs")->setCurrentWidget(box->parentWidget());
        TypeOver(box->lineEdit(), typed);
        if (typed.isEmpty())
            QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        Leave(box->lineEdit(), Child<QTabWidget>(&dialog, "tabs"));
        QCOMPARE(box->currentText(), QString::number(value));
        const OPTIONS o = dialog.GetOptions();
        const int got = list == "pianoRollZoomX"   ? o.pianoRollZoomX
                        : list == "pianoRollZoomY" ? o.pianoRollZoomY
                                                   : o.playBufferSize;
        QCOMPARE(got, value);
    }

    void customColoursComeBack() {
        COptionsDialog dialog;
        CColorButton::CustomColors custom{};
        custom[0] = 0x123456;
        dialog.SetCustomColors(custom);
        QVERIFY(ShowActive(&dialog));
        OnNextModal(&dialog, [](QDialog* chooser) {
            QCOMPARE(QColorDialog::customColor(0), CColorButton::ToQColor(0x123456));
            QColorDialog::setCustomColor(1, QColor(9, 8, 7));
            chooser->reject();
        });
        Click(Child<CColorButton>(&dialog, "crNote"));
        QCOMPARE(dialog.GetCustomColors()[1], 0x00070809u);
        QCOMPARE(dialog.GetOptions().crNote, OPTIONS{}.crNote);
    }

    void aboutBoxShowsIconVersionAndLink() {
        CAboutDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(Child<QLabel>(&dialog, "version")->text(),
                 QStringLiteral("Tesselaphon Editor Version 1.9.1"));
        QVERIFY(!Child<QLabel>(&dialog, "notice")->text().isEmpty());
        QVERIFY(Child<QLabel>(&dialog, "link")->text().contains(QLatin1String("href")));
        const QPixmap icon = Child<QLabel>(&dialog, "icon")->pixmap();
        QCOMPARE(icon.size(), QSize(48, 48));
        const QImage image = icon.toImage();
        QVERIFY(image.pixelColor(24, 24).alpha() == 255);
        QVERIFY(image.pixelColor(0, 0).alpha() < 255); // rounded corner
        QVERIFY(ShowActive(&dialog));
        Click(OkButton(&dialog));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.ManualRequested());
    }

    void aboutBoxManualButtonClosesAndAsksForTheManual() {
        CAboutDlg dialog;
        QVERIFY(ShowActive(&dialog));
        auto* manual = Child<QPushButton>(&dialog, "manualButton");
        QCOMPARE(manual->text(), QStringLiteral("マニュアル(&M)"));
        Click(manual);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.ManualRequested());
    }
};

QTEST_MAIN(OptionsAboutTest)
#include "OptionsAboutTest.moc"
