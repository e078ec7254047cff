// The player program's window, driven with real key, mouse, drop and tool-tip events on the
// null device.

#include "../audio/WavBuilder.h"

#include "WidgetChecks.h"

#include "player/CAboutDlg.h"
#include "player/CSonaloApp.h"
#include "player/CSonaloDlg.h"
#include "ui/widgets/CSeekBar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

class CSonaloDlgTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Wav(const char* name, int frames, uint32_t rate = 1000, int bits = 16) {
        const WAVE_FORMAT format = WAVE_FORMAT::Pcm(1, rate, bits);
        std::vector<uint8_t> data(size_t(frames) * format.blockAlign, 0x40);
        return WavBuilder().Fmt(format).Data(data).Save(m_dir.filePath(name));
    }

    template <typename T> static T* Child(CSonaloDlg& dlg, const char* name) {
        T* child = dlg.findChild<T*>(QLatin1String(name));
        Q_ASSERT(child);
        return child;
    }

    static QString FileText(CSonaloDlg& dlg) { return Child<QLabel>(dlg, "fileText")->text(); }
    static bool Playing(CSonaloDlg& dlg) {
        return Child<QPushButton>(dlg, "playButton")->isHidden() &&
               !Child<QPushButton>(dlg, "pauseButton")->isHidden();
    }

    static void Drop(CSonaloDlg& dlg, const QStringList& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& p : paths) {
            urls << QUrl::fromLocalFile(p);
        }
        mime.setUrls(urls);
        const QPointF at(dlg.width() / 2, dlg.height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&dlg, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&dlg, &drop);
    }

private slots:
    void theCommandLineFileIsShownButNotPlayed() {
        QCOMPARE(CSonaloApp::PathToLoad({"Sonalo", "-x", "/music/a b.wav", "c.wav"}),
                 QStringLiteral("/music/a b.wav"));
        QCOMPARE(CSonaloApp::PathToLoad({"Sonalo"}), QString());
        QCOMPARE(CSonaloApp::PathToLoad({"Sonalo", "--lang", "en", "a.wav"}),
                 QStringLiteral("a.wav"));
        QCOMPARE(CSonaloApp::PathToLoad({"Sonalo", "--lang"}), QString());

        CSonaloDlg dlg(Wav("three-five.wav", 185000, 1000, 8));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("TSQ Sonalo"));
        QCOMPARE(FileText(dlg), QStringLiteral("three-five.wav\n3:05"));
        auto* seek = Child<CSeekBar>(dlg, "seekBar");
        QCOMPARE(seek->minimum(), 0);
        QCOMPARE(seek->maximum(), 185000);
        QCOMPARE(seek->value(), 0);
        QTest::qWait(100);
        QVERIFY(!dlg.Player().IsPlaying());
        QVERIFY(!Playing(dlg));
    }

    void pTogglesPlayAndPauseAndResumesWherePaused() {
        CSonaloDlg dlg(Wav("two.wav", 2000));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::keyClick(&dlg, Qt::Key_P);
        QTRY_VERIFY(dlg.Player().IsPlaying());
        QVERIFY(Playing(dlg));
        QTRY_VERIFY(dlg.Player().GetPosition() > 0.2);
        QTest::keyClick(&dlg, Qt::Key_P);
        QTRY_VERIFY(!dlg.Player().IsPlaying());
        QVERIFY(!Playing(dlg));
        const double paused = dlg.Player().GetPosition();
        QVERIFY(paused > 0.2);
        QTest::qWait(100);
        QCOMPARE(dlg.Player().GetPosition(), paused);
        QTest::keyClick(&dlg, Qt::Key_F5);
        QTRY_VERIFY(dlg.Player().IsPlaying());
        QTRY_VERIFY(dlg.Player().GetPosition() > paused);
        const double resumed = dlg.Player().GetPosition();
        QVERIFY2(resumed > paused && resumed < paused + 0.5, qPrintable(QString::number(resumed)));
        QTest::keyClick(&dlg, Qt::Key_S);
        QTRY_VERIFY(!dlg.Player().IsPlaying());
        QCOMPARE(Child<CSeekBar>(dlg, "seekBar")->value(), 0);
        QCOMPARE(dlg.Player().GetPosition(), 0.0);
    }

    void escapeAndEnterNeverCloseTheWindow() {
        CSonaloDlg dlg(Wav("short.wav", 1500));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* seek = Child<CSeekBar>(dlg, "seekBar");
        seek->setFocus();
        QTest::keyClick(seek, Qt::Key_Escape);
        QTest::keyClick(seek, Qt::Key_Return);
        QTest::keyClick(seek, Qt::Key_Enter);
        QTest::qWait(50);
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.Player().IsPlaying());

        // Enter presses the focused button, and only that.
        auto* play = Child<QPushButton>(dlg, "playButton");
        play->setFocus();
        QTest::keyClick(play, Qt::Key_Return);
        QTRY_VERIFY(dlg.Player().IsPlaying());
        QVERIFY2(Child<QPushButton>(dlg, "pauseButton")->hasFocus(), "focus follows to pause");
        QTest::keyClick(dlg.focusWidget(), Qt::Key_Escape);
        QTest::qWait(50);
        QVERIFY(dlg.isVisible());
        QVERIFY(dlg.Player().IsPlaying());
    }

    void aDroppedListLoadsTheFirstLoadableFileOrEmptiesTheDisplay() {
        const QString text = m_dir.filePath("notes.txt");
        {
            QFile f(text);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("not a wave file");
        }
        CSonaloDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        Drop(dlg, {text, Wav("first.wav", 61000, 1000, 8), Wav("second.wav", 2000)});
        QCOMPARE(FileText(dlg), QStringLiteral("first.wav\n1:01"));
        QVERIFY(dlg.Player().IsOpen());

        Drop(dlg, {text, m_dir.filePath("missing.wav")});
        QCOMPARE(FileText(dlg), QString());
        QCOMPARE(Child<CSeekBar>(dlg, "seekBar")->maximum(), 0);
        QVERIFY(!dlg.Player().IsOpen());
    }

    void theSeekBarToolTipShowsTheTimeUnderThePointer() {
        CSonaloDlg dlg(Wav("tip.wav", 185000, 1000, 8));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* seek = Child<CSeekBar>(dlg, "seekBar");
        const QRect channel = seek->ChannelRect();
        const QPoint inside(channel.x() + channel.width() / 2, seek->height() / 2);
        QHelpEvent help(QEvent::ToolTip, inside, seek->mapToGlobal(inside));
        QApplication::sendEvent(seek, &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QVERIFY2(QRegularExpression("^[0-9]+:[0-5][0-9]$").match(QToolTip::text()).hasMatch(),
                 qPrintable(QToolTip::text()));
        const int v = seek->ValueAt(inside.x());
        QCOMPARE(QToolTip::text(),
                 QStringLiteral("%1:%2").arg(v / 60000).arg(v / 1000 % 60, 2, 10, QChar('0')));

        const QPoint end(seek->width() - 1, seek->height() / 2);
        QHelpEvent outside(QEvent::ToolTip, end, seek->mapToGlobal(end));
        QApplication::sendEvent(seek, &outside);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void theSeekBarReadsOutItsPositionAndTakesOneFromAScreenReader() {
        CSonaloDlg dlg(Wav("read.wav", 185000, 1000, 8));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* seek = Child<CSeekBar>(dlg, "seekBar");
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(seek);
        QVERIFY(iface != nullptr);
        QCOMPARE(iface->role(), QAccessible::Slider);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("再生位置"));
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("0:00 / 3:05"));
        // [WHEN] End moves the thumb [THEN] the text follows
        seek->setFocus();
        QTest::keyClick(seek, Qt::Key_End);
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("3:05 / 3:05"));
        // [WHEN] a screen reader sets the value [THEN] the player seeks there, as a click would
        QAccessibleValueInterface* value = iface->valueInterface();
        QVERIFY(value != nullptr);
        QCOMPARE(value->maximumValue().toInt(), 185000);
        value->setCurrentValue(65000);
        QCOMPARE(seek->value(), 65000);
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("1:05 / 3:05"));
        QVERIFY(qAbs(dlg.Player().GetPosition() - 65.0) < 0.01);
    }

    void everyControlIsNamedAndTabGoesInReadingOrder() {
        CSonaloDlg dlg(Wav("tab.wav", 1000));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QStringList faults = widget_checks::UnnamedCustomWidgets(&dlg) +
                                   widget_checks::UnreachableControls(&dlg) +
                                   widget_checks::TabOrderFaults(&dlg);
        QVERIFY(widget_checks::Report(faults));
    }

    // Run again at 200 % as a test of its own (QT_SCALE_FACTOR=2).
    void nothingIsCutOffAndTheButtonPicturesAreSharp() {
        CSonaloDlg dlg(Wav("sharp.wav", 1000));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QStringList faults = widget_checks::ClippedWidgets(&dlg);
        QVERIFY(widget_checks::Report(faults));
        auto* play = Child<QPushButton>(dlg, "playButton");
        const qreal ratio = play->devicePixelRatioF();
        const QPixmap picture = play->icon().pixmap(play->iconSize(), ratio);
        QCOMPARE(picture.size(), play->iconSize() * ratio);
    }

    void clickingTheSeekBarWhilePlayingSeeksThePlayer() {
        CSonaloDlg dlg(Wav("seek.wav", 10000));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        Child<QPushButton>(dlg, "playButton")->click();
        QVERIFY(dlg.Player().IsPlaying());
        auto* seek = Child<CSeekBar>(dlg, "seekBar");
        const QRect channel = seek->ChannelRect();
        const QPoint at(channel.x() + channel.width() * 3 / 4, seek->height() / 2);
        const int target = seek->ValueAt(at.x());
        QTest::mouseClick(seek, Qt::LeftButton, {}, at);
        QVERIFY(dlg.Player().IsPlaying());
        QVERIFY(qAbs(dlg.Player().GetPosition() - target / 1000.0) < 0.2);
    }

    void theEndOfTheFileReturnsToTheRestingState() {
        CSonaloDlg dlg(Wav("end.wav", 300));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        Child<QPushButton>(dlg, "playButton")->click();
        QVERIFY(Playing(dlg));
        QTRY_VERIFY_WITH_TIMEOUT(!Playing(dlg), 3000);
        QCOMPARE(Child<CSeekBar>(dlg, "seekBar")->value(), 0);
        QVERIFY(dlg.Player().IsOpen());
    }

    void lTogglesTheLoopButtonAndThePlayersLoop() {
        CSonaloDlg dlg(Wav("loop.wav", 500));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        auto* loop = Child<QPushButton>(dlg, "loopButton");
        QTest::keyClick(&dlg, Qt::Key_L);
        QTRY_VERIFY(dlg.Player().GetLoop());
        QVERIFY(loop->isChecked());
        QVERIFY(dlg.LoadFile(Wav("other.wav", 500)));
        QVERIFY2(dlg.Player().GetLoop(), "the loop switch carries over to the next file");
        QTest::keyClick(&dlg, Qt::Key_L);
        QTRY_VERIFY(!dlg.Player().GetLoop());
        QVERIFY(!loop->isChecked());
    }

    void theContextMenuOffersTheAboutBox() {
        CSonaloDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QString offered;
        QTimer::singleShot(50, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                offered = menu->actions().value(0) ? menu->actions()[0]->text() : QString();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                dlg.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&dlg, &event);
        QCOMPARE(offered, QStringLiteral("バージョン情報(&A)..."));

        CAboutDlg about(&dlg);
        auto* version = about.findChild<QLabel*>("versionText");
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("TSQ Sonalo Version 1.0"));
    }
};

QTEST_MAIN(CSonaloDlgTest)
#include "CSonaloDlgTest.moc"
