// The shared controls: the position box, the number boxes and the colour button.
#include "DialogTestUtil.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CDecimalEdit.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "model/CBeats.h"

#include <QClipboard>
#include <QColorDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace dlgtest;

class ControlsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    CPositionEdit* m_position = nullptr;
    CNumberEdit* m_number = nullptr;
    CDecimalEdit* m_decimal = nullptr;
    QLineEdit* m_other = nullptr;
    CBeats m_beats;

    QLineEdit* DecimalLine() { return m_decimal->findChild<QLineEdit*>(); }
    QLineEdit* NumberLine() { return m_number->findChild<QLineEdit*>(); }

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }
    void init() {
        m_window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_window.get());
        m_position = new CPositionEdit(m_window.get());
        m_number = new CNumberEdit(m_window.get());
        m_decimal = new CDecimalEdit(m_window.get());
        m_other = new QLineEdit(m_window.get());
        for (QWidget* w : {static_cast<QWidget*>(m_position), static_cast<QWidget*>(m_number),
                           static_cast<QWidget*>(m_decimal), static_cast<QWidget*>(m_other)})
            layout->addWidget(w);
        m_beats = CBeats();
        m_position->SetBeats(&m_beats);
        QVERIFY(ShowActive(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    // [GIVEN] a shown position [WHEN] a letter is typed [THEN] the text, selection and
    // cursor stay as they were
    void positionRefusesLetterKeepingTextAndSelection() {
        QSignalSpy refused(m_position, &CPositionEdit::Refused);
        m_position->SetPosition(1920 + 480);
        QCOMPARE(m_position->text(), QStringLiteral("2:480"));
        QCOMPARE(m_position->selectedText(), QStringLiteral("2:480"));
        m_position->setFocus();
        QTest::keyClick(m_position, Qt::Key_A);
        QCOMPARE(refused.count(), 1);
        QCOMPARE(m_position->text(), QStringLiteral("2:480"));
        QCOMPARE(m_position->selectedText(), QStringLiteral("2:480"));

        m_position->setCursorPosition(2);
        QTest::keyClicks(m_position, "x:");
        QCOMPARE(m_position->text(), QStringLiteral("2:480"));
        QCOMPARE(m_position->cursorPosition(), 2);
        QCOMPARE(refused.count(), 3);
        QTest::keyClicks(m_position, "1");
        QCOMPARE(m_position->text(), QStringLiteral("2:1480"));
        QCOMPARE(refused.count(), 3);
    }

    // [GIVEN] text on the clipboard that is not a position [WHEN] pasted [THEN] refused
    void positionRefusesPastedText() {
        m_position->SetPosition(0);
        m_position->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("3:4:5"));
        QTest::keyClick(m_position, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_position->text(), QStringLiteral("1:0"));
        QApplication::clipboard()->setText(QStringLiteral("3:45"));
        QTest::keyClick(m_position, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_position->text(), QStringLiteral("3:45"));
    }

    void positionReadsTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tick");
        QTest::newRow("0:0 is the start") << "0:0" << 0;
        QTest::newRow("1:0") << "1:0" << 0;
        QTest::newRow("measure alone") << "2" << 1920;
        QTest::newRow("empty tick part") << "3:" << 3840;
        QTest::newRow("empty measure part") << ":2000" << 80;
        QTest::newRow("offset past the measure") << "1:1920" << 1920;
        QTest::newRow("not a position") << "1:2:3" << -1;
        QTest::newRow("huge measure saturates") << "99999999999:0" << 2147483647;
    }
    void positionReadsTexts() {
        QFETCH(QString, text);
        QFETCH(int, tick);
        m_position->setText(text);
        QCOMPARE(m_position->GetPosition(), tick);
    }

    // [GIVEN] 4/4 [WHEN] 1:1920 is typed and the box is left [THEN] it reads 2:0
    void positionNormalisesOnLeaving() {
        QSignalSpy left(m_position, &CPositionEdit::Left);
        TypeOver(m_position, "1:1920");
        Leave(m_position, m_other);
        QCOMPARE(m_position->text(), QStringLiteral("2:0"));
        QCOMPARE(left.count(), 1);

        m_position->setFocus();
        m_position->clear();
        Leave(m_position, m_other);
        QCOMPARE(m_position->text(), QString());
    }

    void positionFollowsTheSignatures() {
        m_beats.Assign({BEAT{0, 4, 4}, BEAT{2, 3, 4}});
        m_position->SetPosition(5279);
        QCOMPARE(m_position->text(), QStringLiteral("3:1439"));
        m_position->SetBeats(nullptr);
        m_position->setText(QStringLiteral("4:0"));
        QCOMPARE(m_position->GetPosition(), 3 * 1920);
        m_position->SetPosition(-1);
        QCOMPARE(m_position->text(), QString());
    }

    // [GIVEN] a range 0..255 [WHEN] 300 is typed and the box is left [THEN] it holds 255
    void numberClampsOnLeaving() {
        QSignalSpy committed(m_number, &CNumberEdit::Committed);
        m_number->SetRange(0, 255);
        m_number->SetValue(10);
        TypeOver(m_number, "300");
        QCOMPARE(NumberLine()->text(), QStringLiteral("300"));
        QCOMPARE(m_number->Value(), 255);
        Leave(m_number, m_other);
        QCOMPARE(NumberLine()->text(), QStringLiteral("255"));
        QCOMPARE(committed.count(), 1);

        m_number->SetRange(1, 2147483647);
        TypeOver(m_number, "0");
        Leave(m_number, m_other);
        QCOMPARE(NumberLine()->text(), QStringLiteral("1"));
    }

    void numberRefusesWhatIsNoNumber() {
        m_number->SetRange(0, 100);
        m_number->SetValue(5);
        TypeOver(m_number, "-x7");
        QCOMPARE(NumberLine()->text(), QStringLiteral("7"));
        m_number->SetRange(-100, 100);
        TypeOver(m_number, "-250");
        Leave(m_number, m_other);
        QCOMPARE(m_number->Value(), -100);
    }

    // [GIVEN] an empty box that may stay empty [WHEN] left [THEN] still empty; without
    // permission it returns to its last value
    void numberEmptyBox() {
        m_number->SetRange(1, 1000);
        m_number->SetValue(40);
        m_number->SetAllowEmpty(true);
        m_number->SetEmpty();
        Leave(m_number, m_other);
        QVERIFY(m_number->IsEmpty());
        m_number->SetAllowEmpty(false);
        m_number->SetValue(40);
        TypeOver(m_number, "");
        QTest::keyClick(m_number, Qt::Key_Backspace);
        Leave(m_number, m_other);
        QCOMPARE(NumberLine()->text(), QStringLiteral("40"));
    }

    void numberStepsWithArrowKeys() {
        m_number->SetRange(0, 10);
        m_number->SetValue(9);
        m_number->setFocus();
        QTest::keyClick(m_number, Qt::Key_Up);
        QTest::keyClick(m_number, Qt::Key_Up);
        QCOMPARE(m_number->Value(), 10);
        QTest::keyClick(m_number, Qt::Key_Down);
        QCOMPARE(m_number->Value(), 9);
    }

    // [GIVEN] 120.5 [WHEN] stepped up or down [THEN] 121 or 120
    void decimalStepsTheWholePart() {
        m_decimal->SetRange(10, 1000);
        m_decimal->SetValue(120.5);
        m_decimal->setFocus();
        QTest::keyClick(m_decimal, Qt::Key_Up);
        QCOMPARE(m_decimal->Value(), 121.0);
        QCOMPARE(DecimalLine()->text(), QStringLiteral("121.0"));
        m_decimal->SetValue(120.5);
        QTest::keyClick(m_decimal, Qt::Key_Down);
        QCOMPARE(m_decimal->Value(), 120.0);
        m_decimal->SetValue(10.0);
        QTest::keyClick(m_decimal, Qt::Key_Down);
        QCOMPARE(m_decimal->Value(), 10.0);
    }

    void decimalClampsAndKeepsUneditedPrecision() {
        m_decimal->SetRange(10, 1000);
        m_decimal->SetValue(97.3333);
        QCOMPARE(DecimalLine()->text(), QStringLiteral("97.3"));
        Leave(m_decimal, m_other);
        QCOMPARE(m_decimal->Value(), 97.3333);

        TypeOver(m_decimal, "5000");
        Leave(m_decimal, m_other);
        QCOMPARE(m_decimal->Value(), 1000.0);
        TypeOver(m_decimal, "5");
        Leave(m_decimal, m_other);
        QCOMPARE(m_decimal->Value(), 10.0);
        QCOMPARE(DecimalLine()->text(), QStringLiteral("10.0"));
        TypeOver(m_decimal, "97.55");
        QCOMPARE(DecimalLine()->text(), QStringLiteral("97.5"));
    }

    // [GIVEN] a colour [THEN] the button's face shows it, and the value round-trips BGR
    void colorButtonShowsItsColour() {
        auto* button = new CColorButton(m_window.get());
        m_window->layout()->addWidget(button);
        button->show();
        QSignalSpy changed(button, &CColorButton::ColorChanged);
        button->SetColor(0x00FF8000); // blue 255, green 128, red 0
        QCOMPARE(changed.count(), 1);
        QCOMPARE(button->GetColor(), 0x00FF8000u);
        const QImage face = button->grab().toImage();
        const QColor centre = face.pixelColor(face.rect().center());
        QCOMPARE(centre, QColor(0, 128, 255));
        button->setEnabled(false);
        const QImage disabled = button->grab().toImage();
        QVERIFY(disabled.pixelColor(disabled.rect().center()) != QColor(0, 128, 255));
    }

    // [WHEN] the chooser opens [THEN] it starts at the colour with the custom colours given,
    // and a chosen colour and changed custom colours come back
    void colorButtonChoosesWithCustomColours() {
        CColorButton::CustomColors custom{};
        custom[3] = 0x00112233;
        auto* button = new CColorButton(m_window.get());
        button->SetCustomColors(&custom);
        button->SetColor(0x000000FF);
        OnNextModal(nullptr, [](QDialog* chooser) {
            QCOMPARE(chooser->windowTitle(), QStringLiteral("色の設定"));
            QCOMPARE(QColorDialog::customColor(3), QColor(0x33, 0x22, 0x11));
            auto* colors = qobject_cast<QColorDialog*>(chooser);
            QVERIFY(colors != nullptr);
            QCOMPARE(colors->currentColor(), QColor(255, 0, 0));
            QColorDialog::setCustomColor(5, QColor(1, 2, 3));
            colors->setCurrentColor(QColor(10, 20, 30));
            colors->accept();
        });
        Click(button);
        QCOMPARE(button->GetColor(), 0x001E140Au);
        QCOMPARE(custom[5], 0x00030201u);
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
