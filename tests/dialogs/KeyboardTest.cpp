// The on-screen keyboard: hit test, keys, the owner's notices and what its preview engine
// sends to a capture device.

#include "CaptureSupport.h"
#include "DialogTestUtil.h"

#include "common/CHeldKeys.h"
#include "dialogs/CKeyboardWnd.h"
#include "model/CProject.h"
#include "preview/CPreviewEngine.h"

#include <QSignalSpy>

using namespace dlgtest;

namespace {

// 73 columns of 10 pixels; the lower part starts at y = 30.
constexpr int kWidth = 730;
constexpr int kHeight = 50;

QPoint Upper(int key) {
    return QPoint((key - CKeyboardWnd::kFirstKey) * 10 + 5, 10);
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // Keys held on the MIDI keyboard show as pressed, also on a keyboard opened while they
    // are held, and show as before once let go.
    void KeysHeldOnTheMidiKeyboardShowAsPressed() {
        CHeldKeys::Instance().Set(45, true); // A4, white, column 33
        CKeyboardWnd keyboard;
        keyboard.setFixedSize(kWidth, kHeight);
        QVERIFY(ShowActive(&keyboard));
        const QColor highlight = keyboard.palette().color(QPalette::Highlight);
        QCOMPARE(keyboard.grab().toImage().pixelColor(335, 40), highlight);
        CHeldKeys::Instance().Set(46, true); // A#4, black, column 34
        QCOMPARE(keyboard.grab().toImage().pixelColor(345, 10), highlight);
        CHeldKeys::Instance().Set(45, false);
        CHeldKeys::Instance().Set(46, false);
        const QImage after = keyboard.grab().toImage();
        QCOMPARE(after.pixelColor(335, 40), QColor(Qt::white));
        QCOMPARE(after.pixelColor(345, 10), QColor(Qt::black));
        // Keys outside the keyboard are ignored.
        CHeldKeys::Instance().Set(-1, true);
        CHeldKeys::Instance().Set(96, true);
        QVERIFY(!CHeldKeys::Instance().IsHeld(96));
    }

    // [GIVEN] the column of a black key [WHEN] hit in its lower part [THEN] the white key on
    // the side of the half that was hit
    void LowerPartOfABlackColumnBelongsToItsWhiteNeighbours() {
        QCOMPARE(CKeyboardWnd::KeyAt(15, 10, kWidth, kHeight), 13);
        QCOMPARE(CKeyboardWnd::KeyAt(12, 40, kWidth, kHeight), 12);
        QCOMPARE(CKeyboardWnd::KeyAt(17, 40, kWidth, kHeight), 14);
        QCOMPARE(CKeyboardWnd::KeyAt(25, 40, kWidth, kHeight), 14);
        QCOMPARE(CKeyboardWnd::KeyAt(-5, 5, kWidth, kHeight), 12);
        QCOMPARE(CKeyboardWnd::KeyAt(kWidth + 5, 5, kWidth, kHeight), 84);

        CKeyboardWnd keyboard;
        keyboard.setFixedSize(kWidth, kHeight);
        QCOMPARE(keyboard.objectName(), QStringLiteral("Keyboard_Class"));
        QVERIFY(ShowActive(&keyboard));
        QSignalSpy on(&keyboard, &CKeyboardWnd::noteOn);
        QSignalSpy off(&keyboard, &CKeyboardWnd::noteOff);
        // Key 18 is F#2, column 6: x 60..69.
        QTest::mousePress(&keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(61, 45));
        QCOMPARE(keyboard.SoundingKey(), 17);
        QTest::mouseRelease(&keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(61, 45));
        QTest::mousePress(&keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(68, 45));
        QCOMPARE(keyboard.SoundingKey(), 19);
        QTest::mouseRelease(&keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(68, 45));
        QTest::mousePress(&keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(65, 20));
        QCOMPARE(keyboard.SoundingKey(), 18);
        QTest::mouseRelease(&keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(65, 20));
        QCOMPARE(on.count(), 3);
        QCOMPARE(off.count(), 3);
        QCOMPARE(on.at(2).at(0).toInt(), 18);
        QCOMPARE(keyboard.SoundingKey(), -1);
    }

    // [GIVEN] the focus key [WHEN] the arrows and Space are pressed [THEN] it moves along the
    // keys and between black and white, and Space sounds it until released
    void KeysMoveTheFocusAndSpaceSounds() {
        CKeyboardWnd keyboard;
        keyboard.setFixedSize(kWidth, kHeight);
        QVERIFY(ShowActive(&keyboard));
        keyboard.setFocus();
        QCOMPARE(keyboard.FocusKey(), 36);
        QTest::keyClick(&keyboard, Qt::Key_Up);
        QCOMPARE(keyboard.FocusKey(), 37);
        QTest::keyClick(&keyboard, Qt::Key_Up);
        QCOMPARE(keyboard.FocusKey(), 37);
        QTest::keyClick(&keyboard, Qt::Key_Down);
        QCOMPARE(keyboard.FocusKey(), 36);
        QTest::keyClick(&keyboard, Qt::Key_Right);
        QTest::keyClick(&keyboard, Qt::Key_Right);
        QTest::keyClick(&keyboard, Qt::Key_Right);
        QTest::keyClick(&keyboard, Qt::Key_Right);
        QCOMPARE(keyboard.FocusKey(), 40); // E: no black key above
        QTest::keyClick(&keyboard, Qt::Key_Up);
        QCOMPARE(keyboard.FocusKey(), 40);
        QTest::keyClick(&keyboard, Qt::Key_Left);
        QCOMPARE(keyboard.FocusKey(), 39);

        QSignalSpy on(&keyboard, &CKeyboardWnd::noteOn);
        QSignalSpy off(&keyboard, &CKeyboardWnd::noteOff);
        QTest::keyPress(&keyboard, Qt::Key_Space);
        QCOMPARE(keyboard.SoundingKey(), 39);
        QCOMPARE(on.count(), 1);
        QTest::keyRelease(&keyboard, Qt::Key_Space);
        QCOMPARE(keyboard.SoundingKey(), -1);
        QCOMPARE(off.count(), 1);
        QCOMPARE(off.at(0).at(0).toInt(), 39);

        for (int i = 0; i < 100; ++i)
            QTest::keyClick(&keyboard, Qt::Key_Left);
        QCOMPARE(keyboard.FocusKey(), CKeyboardWnd::kFirstKey);
    }

    // [GIVEN] a sine track and a capture device [WHEN] the pointer slides from A4 to A5 [THEN]
    // the first key stops before the second sounds, and the second is heard at 880 Hz
    void SlidingToASecondKeyStopsTheFirst() {
        CaptureDevice capture;
        CProject project;
        project.data.samplesPerSec = 22050;
        project.data.channels = 1;
        project.data.reductionPuchiNoise = 0;
        CTrack track;
        track.settings.waveform = kSine;
        track.settings.volume = 255;
        track.settings.envelope.sustain = -1;
        track.settings.envelope.sustainLevel = 255;

        CKeyboardWnd keyboard;
        keyboard.setFixedSize(kWidth, kHeight);
        keyboard.SetPreview(&project, &track, 50);
        QVERIFY(ShowActive(&keyboard));
        QSignalSpy on(&keyboard, &CKeyboardWnd::noteOn);
        QSignalSpy off(&keyboard, &CKeyboardWnd::noteOff);
        // Each notice must find no other key playing.
        QList<int> playingAtNoteOn;
        connect(&keyboard, &CKeyboardWnd::noteOn, this,
                [&] { playingAtNoteOn << keyboard.Engine().Key(); });

        QTest::mousePress(&keyboard, Qt::LeftButton, Qt::NoModifier, Upper(45));
        QCOMPARE(keyboard.Engine().Key(), 45);
        QVERIFY(capture.WaitForFrames(4000));
        QTest::mouseMove(&keyboard, Upper(57));
        const size_t switched = capture.Samples().size();
        QCOMPARE(keyboard.SoundingKey(), 57);
        QCOMPARE(keyboard.Engine().Key(), 57);
        QCOMPARE(on.count(), 2);
        QCOMPARE(off.count(), 0);
        QCOMPARE(playingAtNoteOn, (QList<int>{-1, -1}));

        // Past whatever the device still held of the first key: 0.2 s of the second.
        const size_t from = switched + 22050 / 4;
        const size_t window = 22050 / 5;
        QVERIFY(capture.WaitForFrames(from + window));
        const int crossings = CountZeroCrossings(capture.Samples(), from, window);
        QVERIFY2(std::abs(crossings - 2 * 880 / 5) <= 4, qPrintable(QString::number(crossings)));

        QTest::mouseRelease(&keyboard, Qt::LeftButton, Qt::NoModifier, Upper(57));
        QCOMPARE(off.count(), 1);
        QVERIFY(!keyboard.Engine().IsPlaying());
        keyboard.SetPreview(nullptr, nullptr, 50);
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
