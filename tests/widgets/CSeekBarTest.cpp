// The seek-bar slider driven with real mouse, key and tool-tip events.

#include "ui/widgets/CSeekBar.h"

#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

class CSeekBarTest : public QObject {
    Q_OBJECT

private:
    // A shown bar 300 pixels wide over 0..185000 (3:05 in milliseconds).
    struct Bar {
        QWidget window;
        CSeekBar* bar = new CSeekBar(&window);
        Bar() {
            window.resize(320, 60);
            bar->setGeometry(10, 10, 300, 40);
            bar->setRange(0, 185000);
            window.show();
        }
    };

    using Emission = QPair<int, CSeekBar::ScrollCode>;
    static QList<Emission> Emissions(const QSignalSpy& spy) {
        QList<Emission> list;
        for (const QList<QVariant>& args : spy) {
            list.append({args[0].toInt(), args[1].value<CSeekBar::ScrollCode>()});
        }
        return list;
    }

private slots:
    void valueAtIsOutsideBeyondTheChannelAndClampedNearItsEnds() {
        Bar b;
        QVERIFY(QTest::qWaitForWindowExposed(&b.window));
        const QRect channel = b.bar->ChannelRect();
        const int half = b.bar->ThumbRect().width() / 2;
        const int left = channel.x() + half;
        const int right = channel.x() + channel.width() - half;
        QVERIFY(channel.x() > 0);
        QVERIFY(channel.x() + channel.width() < b.bar->width());
        QCOMPARE(b.bar->ValueAt(0), -1);
        QCOMPARE(b.bar->ValueAt(channel.x() - 1), -1);
        QCOMPARE(b.bar->ValueAt(channel.x() + channel.width()), -1);
        QCOMPARE(b.bar->ValueAt(b.bar->width() - 1), -1);
        QCOMPARE(b.bar->ValueAt(channel.x()), 0);
        QCOMPARE(b.bar->ValueAt(left), 0);
        QCOMPARE(b.bar->ValueAt(channel.x() + channel.width() - 1), 185000);
        const int mid = (left + right) / 2;
        QCOMPARE(b.bar->ValueAt(mid), int(185000LL * (mid - left) / (right - left)));
        b.bar->setRange(-50, 50);
        QCOMPARE(b.bar->ValueAt(0), -51);
        QCOMPARE(b.bar->ValueAt(left), -50);
    }

    void aClickOutsideTheThumbJumpsThereAndReportsAtOnce() {
        Bar b;
        QVERIFY(QTest::qWaitForWindowExposed(&b.window));
        QSignalSpy spy(b.bar, &CSeekBar::scrolled);
        const QRect channel = b.bar->ChannelRect();
        const int x = channel.x() + channel.width() * 3 / 4;
        const int expected = b.bar->ValueAt(x);
        QTest::mousePress(b.bar, Qt::LeftButton, {}, QPoint(x, b.bar->height() / 2));
        QCOMPARE(b.bar->value(), expected);
        QCOMPARE(Emissions(spy), (QList<Emission>{{expected, CSeekBar::ScrollCode::Position},
                                                  {expected, CSeekBar::ScrollCode::EndTrack}}));
        QVERIFY2(b.bar->isSliderDown(), "the thumb is under the pointer, so a drag follows");
        spy.clear();
        QTest::mouseMove(b.bar, QPoint(x - 40, b.bar->height() / 2));
        QVERIFY(!spy.isEmpty());
        QCOMPARE(spy.first()[1].value<CSeekBar::ScrollCode>(), CSeekBar::ScrollCode::Track);
        QVERIFY(b.bar->value() < expected);
        spy.clear();
        QTest::mouseRelease(b.bar, Qt::LeftButton, {}, QPoint(x - 40, b.bar->height() / 2));
        QCOMPARE(spy.last()[1].value<CSeekBar::ScrollCode>(), CSeekBar::ScrollCode::EndTrack);
    }

    void aClickOnTheThumbOrOutsideTheChannelDoesNotJump() {
        Bar b;
        QVERIFY(QTest::qWaitForWindowExposed(&b.window));
        b.bar->setValue(92500);
        QSignalSpy spy(b.bar, &CSeekBar::scrolled);
        const QPoint thumb = b.bar->ThumbRect().center();
        QTest::mouseClick(b.bar, Qt::LeftButton, {}, thumb + QPoint(1, 0));
        QCOMPARE(b.bar->value(), 92500);
        QTest::mouseClick(b.bar, Qt::LeftButton, {}, QPoint(1, b.bar->height() / 2));
        QCOMPARE(b.bar->value(), 92500);
        for (const Emission& e : Emissions(spy)) {
            QVERIFY(e.second != CSeekBar::ScrollCode::Track || e.first == 92500);
        }
    }

    void programmaticChangesAreNotReportedButKeysAre() {
        Bar b;
        QVERIFY(QTest::qWaitForWindowExposed(&b.window));
        QSignalSpy spy(b.bar, &CSeekBar::scrolled);
        b.bar->setValue(1000);
        b.bar->setSliderPosition(2000);
        QVERIFY(spy.isEmpty());
        b.bar->setFocus();
        QTest::keyClick(b.bar, Qt::Key_Right);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first()[1].value<CSeekBar::ScrollCode>(), CSeekBar::ScrollCode::Step);
        QCOMPARE(spy.first()[0].toInt(), b.bar->value());
    }

    void toolTipShowsMinutesAndSecondsUnderThePointerAndNothingOutside() {
        Bar b;
        QVERIFY(QTest::qWaitForWindowExposed(&b.window));
        const QRect channel = b.bar->ChannelRect();
        const int x = channel.x() + channel.width() - 1; // the last value: 185000 ms
        QCOMPARE(b.bar->ToolTipText(QPoint(x, 5)), QStringLiteral("3:05"));
        QCOMPARE(b.bar->ToolTipText(QPoint(channel.x(), 5)), QStringLiteral("0:00"));
        QCOMPARE(b.bar->ToolTipText(QPoint(0, 5)), QString());

        QHelpEvent inside(QEvent::ToolTip, QPoint(x, 5), b.bar->mapToGlobal(QPoint(x, 5)));
        QApplication::sendEvent(b.bar, &inside);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("3:05"));

        QHelpEvent outside(QEvent::ToolTip, QPoint(0, 5), b.bar->mapToGlobal(QPoint(0, 5)));
        QApplication::sendEvent(b.bar, &outside);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void ticsAreKeptOnceAndCleared() {
        Bar b;
        b.bar->setTickPosition(QSlider::TicksAbove);
        b.bar->SetTic(1000);
        b.bar->SetTic(90000);
        b.bar->SetTic(1000);
        QCOMPARE(b.bar->Tics(), (QList<int>{1000, 90000}));
        QVERIFY(!b.bar->grab().isNull());
        b.bar->ClearTics();
        QVERIFY(b.bar->Tics().isEmpty());
    }
};

QTEST_MAIN(CSeekBarTest)
#include "CSeekBarTest.moc"
