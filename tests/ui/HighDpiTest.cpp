// The editor at 200 % (run with QT_SCALE_FACTOR=2): no text of the window or of any dialog
// is cut off, the panes' rows are twice as many device pixels high while the settings keep
// logical pixels, and the pictures the program draws itself are drawn at the device's
// resolution rather than blown up from half of it.

#include "DialogCatalogue.h"
#include "UiTestSupport.h"
#include "WidgetChecks.h"

#include "dialogs/CFMAlgorithmPicture.h"
#include "model/CProject.h"
#include "ui/CMainFrame.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/trackwnd/CTrackRowPainter.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr qreal kScale = 2.0;

// A picture blown up from half the resolution is made of uniform 2 × 2 blocks; one drawn at
// full resolution has some block that is not.
bool HasDetailBelowTwoPixels(const QImage& image) {
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                return true;
        }
    return false;
}

// Lengths of the runs of pure black down column x of `image`, from row `from` on.
QList<int> BlackRuns(const QImage& image, int x, int from) {
    QList<int> runs;
    int run = 0;
    for (int y = from; y < image.height(); ++y) {
        if (image.pixel(x, y) == qRgb(0, 0, 0)) {
            ++run;
        } else if (run > 0) {
            runs << run;
            run = 0;
        }
    }
    return runs;
}

void CheckNothingClipped(QWidget* window, const QString& name, QStringList& faults) {
    const auto check = [&] {
        for (const QString& fault : widget_checks::ClippedWidgets(window))
            faults << name + QStringLiteral(": ") + fault;
    };
    OnEveryPage(window, check);
}

} // namespace

class HighDpiTest : public FrameTestBase {
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), kScale); }
    void init() { QVERIFY(OpenFrame()); }
    void cleanup() { CloseFrame(); }

    void noTextIsCutOffInTheWindowOrAnyDialog() {
        QStringList faults;
        frame->resize(1024, 700);
        QTest::qWait(20);
        CheckNothingClipped(frame.get(), QStringLiteral("CMainFrame"), faults);
        DialogCatalogue dialogs;
        for (const auto& entry : dialogs.Entries()) {
            std::unique_ptr<QDialog> dialog = entry.make();
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
            CheckNothingClipped(dialog.get(), entry.name, faults);
        }
        QVERIFY(widget_checks::Report(faults));
    }

    void trackRowsAreTwiceAsHighInDevicePixels() {
        CProject song = MakeSong(1);
        song.tracks.resize(2);
        song.tracks[1].settings.mute = 1;
        SetSong(song);
        CTrackWnd& list = frame->TrackWnd();
        list.setCurrentRow(0);
        frame->PianoRollWnd().setFocus();
        const QImage image = list.viewport()->grab().toImage();
        QCOMPARE(image.devicePixelRatio(), kScale);
        QCOMPARE(image.height(), qRound(list.viewport()->height() * kScale));
        // The selected first row is filled with the highlight down to its last device pixel.
        const QRgb highlight = list.palette().color(QPalette::Highlight).rgb();
        const int x = image.width() - 4;
        const int rowPixels = qRound(CTrackRowPainter::kRowHeight * kScale);
        QCOMPARE(image.pixel(x, rowPixels - 1), highlight);
        QVERIFY(image.pixel(x, rowPixels) != highlight);
        // The mute and source pictures are drawn at the device's resolution.
        const QRect pictures(0, 0, qRound(CTrackRowPainter::kMuteColumn * kScale), 2 * rowPixels);
        QVERIFY(HasDetailBelowTwoPixels(image.copy(pictures)));
    }

    void pianoRollRowsScaleAndTheZoomStaysLogical() {
        CPianoRollWnd& roll = frame->PianoRollWnd();
        roll.SetVerticalScroll(0);
        const int zoomY = app->options.pianoRollZoomY;
        QCOMPARE(roll.Geometry().ZoomY(), zoomY);
        const QImage image = roll.viewport()->grab().toImage();
        QCOMPARE(image.width(), qRound(roll.viewport()->width() * kScale));
        // Down the left edge of the keys a black key is one row high; the one-pixel lines
        // between octaves are the only other black.
        const int below = qRound(roll.Geometry().YOfRow(0) * kScale);
        QList<int> keys = BlackRuns(image, 0, below);
        keys.removeIf([](int run) { return run == qRound(kScale); });
        QVERIFY(!keys.isEmpty());
        for (int run : keys)
            QCOMPARE(run, qRound(zoomY * kScale));
        QVERIFY(HasDetailBelowTwoPixels(image));
        QCOMPARE(app->options.pianoRollZoomY, zoomY);
    }

    void fmAlgorithmPicturesAreDrawnAtTheDeviceResolution() {
        for (int algorithm = 0; algorithm < CFMAlgorithmPicture::kAlgorithms; ++algorithm) {
            const QImage picture = CFMAlgorithmPicture::Draw(algorithm, kScale);
            QCOMPARE(picture.devicePixelRatio(), kScale);
            QCOMPARE(picture.width(), qRound(CFMAlgorithmPicture::kSize * kScale));
            QVERIFY(HasDetailBelowTwoPixels(picture));
        }
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    UsePrivateHome(home);
    QApplication application(argc, argv);
    UsePrivateSettings(home);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDpiTest.moc"
