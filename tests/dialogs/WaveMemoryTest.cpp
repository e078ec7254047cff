// The wave-memory dialog and its editor: sizes, drawing with the mouse and the keys, the
// columns a change repaints, the clipboard and the stored window size.

#include "../audio/WavBuilder.h"
#include "DialogTestUtil.h"

#include "common/ClipboardFormats.h"
#include "dialogs/CKeyboardWnd.h"
#include "dialogs/CWaveMemoryDialog.h"
#include "dialogs/CWaveMemoryEditWnd.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QPaintEvent>
#include <QSettings>
#include <QTemporaryDir>

using namespace dlgtest;

namespace {

// A WAV file of 16-bit frames (interleaved when stereo) in `folder`.
QString SaveWave(const QTemporaryDir& folder, const char* name, const std::vector<int>& frames,
                 int channels = 1, int bits = 16) {
    std::vector<uint8_t> bytes;
    for (int v : frames)
        for (int i = 0; i < bits / 8; ++i)
            bytes.push_back(static_cast<uint8_t>((bits == 8 ? v + 128 : v) >> (8 * i)));
    return WavBuilder()
        .Fmt(WAVE_FORMAT::Pcm(channels, 44100, bits))
        .Data(bytes)
        .Save(folder.filePath(QLatin1String(name)));
}

// Records the rectangles it is asked to repaint.
class CRecordingEditor : public CWaveMemoryEditWnd {
public:
    QRegion painted;

protected:
    void paintEvent(QPaintEvent* event) override {
        painted += event->region();
        CWaveMemoryEditWnd::paintEvent(event);
    }
};

// 32 columns × 16 rows on 321 × 161 pixels: 10 pixels per cell between the grid lines.
constexpr int kWidth = 321;
constexpr int kHeight = 161;

CWaveMemory Wave(int32_t count, int32_t height, int32_t value = 0) {
    CWaveMemory wave;
    wave.samples.assign(size_t(count), value);
    wave.height = height;
    return wave;
}

// The middle of cell (column, row) of a 32 × 16 grid.
QPoint Cell(int column, int row) {
    return QPoint(column * 10 + 5, row * 10 + 5);
}

} // namespace

class WaveMemoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // [GIVEN] M = 16 [WHEN] rows are clicked [THEN] 8 at the top, 1 and -1 beside the centre
    // line, -8 at the bottom; no row gives 0
    void RowsCarryTheirValues() {
        CWaveMemoryEditWnd editor;
        editor.setFixedSize(kWidth, kHeight);
        editor.SetWave(Wave(32, 16));
        QVERIFY(ShowActive(&editor));
        const struct {
            int row;
            int32_t value;
        } rows[] = {{0, 8}, {7, 1}, {8, -1}, {15, -8}};
        for (const auto& r : rows) {
            QTest::mouseClick(&editor, Qt::LeftButton, Qt::NoModifier, Cell(3, r.row));
            QCOMPARE(editor.Wave().samples[3], r.value);
            QCOMPARE(editor.Cursor(), QPoint(3, r.row));
        }
        for (int row = 0; row < 16; ++row)
            QVERIFY(CWaveMemoryEditWnd::RowValue(row, 16) != 0);
        QCOMPARE(CWaveMemoryEditWnd::RowValue(0, 64), 32);
        QCOMPARE(CWaveMemoryEditWnd::RowValue(63, 64), -32);
    }

    // [GIVEN] a full wave [WHEN] the right button sweeps across in one move [THEN] every
    // column is 0; a left drag out of the grid is clamped to its edge
    void RightDragClearsAndDragsClamp() {
        CWaveMemoryEditWnd editor;
        editor.setFixedSize(kWidth, kHeight);
        editor.SetWave(Wave(32, 16, 5));
        QVERIFY(ShowActive(&editor));
        QTest::mousePress(&editor, Qt::RightButton, Qt::NoModifier, Cell(0, 4));
        QTest::mouseMove(&editor, Cell(31, 9));
        QTest::mouseRelease(&editor, Qt::RightButton, Qt::NoModifier, Cell(31, 9));
        QCOMPARE(editor.Wave().samples, std::vector<int32_t>(32, 0));
        QCOMPARE(editor.Cursor(), QPoint(0, 0));

        QTest::mousePress(&editor, Qt::LeftButton, Qt::NoModifier, Cell(4, 4));
        QTest::mouseMove(&editor, QPoint(-40, -30));
        QTest::mouseRelease(&editor, Qt::LeftButton, Qt::NoModifier, QPoint(-40, -30));
        QCOMPARE(editor.Wave().samples[0], 8);
        QCOMPARE(editor.Cursor(), QPoint(0, 0));
        QCOMPARE(editor.Wave().samples[4], 4);
        QCOMPARE(CWaveMemoryEditWnd::ColumnAt(kWidth + 50, kWidth, 32), 31);
        QCOMPARE(CWaveMemoryEditWnd::RowAt(-1, kHeight, 16), 0);
    }

    // [GIVEN] an empty wave [WHEN] the left button jumps to a far cell in one move, either
    // way [THEN] every column between takes the row of the straight line through the two
    // cells and nothing outside them changes; RightDragClearsAndDragsClamp sweeps the
    // right button the same way
    void FastStrokesLeaveNoGaps() {
        const struct {
            QPoint from;
            QPoint to;
        } strokes[] = {
            {{2, 1}, {27, 14}}, {{30, 12}, {3, 0}}, {{5, 15}, {6, 0}}, {{9, 4}, {9, 11}}};
        for (const auto& stroke : strokes) {
            CWaveMemoryEditWnd editor;
            editor.setFixedSize(kWidth, kHeight);
            editor.SetWave(Wave(32, 16));
            QVERIFY(ShowActive(&editor));
            QTest::mousePress(&editor, Qt::LeftButton, Qt::NoModifier,
                              Cell(stroke.from.x(), stroke.from.y()));
            QTest::mouseMove(&editor, Cell(stroke.to.x(), stroke.to.y()));
            QTest::mouseRelease(&editor, Qt::LeftButton, Qt::NoModifier,
                                Cell(stroke.to.x(), stroke.to.y()));
            const int first = std::min(stroke.from.x(), stroke.to.x());
            const int last = std::max(stroke.from.x(), stroke.to.x());
            for (int column = 0; column < 32; ++column) {
                const int32_t value = editor.Wave().samples[size_t(column)];
                if (column < first || column > last) {
                    QCOMPARE(value, 0);
                    continue;
                }
                QVERIFY2(value != 0, qPrintable(QString::number(column)));
                const int row = value > 0 ? 8 - value : 7 - value;
                const double span = stroke.to.x() - stroke.from.x();
                const double line = span == 0
                                        ? stroke.to.y()
                                        : stroke.from.y() + (stroke.to.y() - stroke.from.y()) *
                                                                (column - stroke.from.x()) / span;
                QVERIFY2(std::abs(row - line) <= 0.5,
                         qPrintable(QStringLiteral("column %1 row %2").arg(column).arg(row)));
            }
            QCOMPARE(editor.Cursor(), stroke.to);
        }
    }

    // [GIVEN] the focus [WHEN] arrows, Space and Delete are pressed [THEN] the cursor moves
    // within the grid and stores or clears its column
    void KeysMoveTheCursorAndStore() {
        CWaveMemoryEditWnd editor;
        editor.setFixedSize(kWidth, kHeight);
        editor.SetWave(Wave(32, 16));
        QVERIFY(ShowActive(&editor));
        editor.setFocus();
        QTest::keyClick(&editor, Qt::Key_Left);
        QTest::keyClick(&editor, Qt::Key_Up);
        QCOMPARE(editor.Cursor(), QPoint(0, 0));
        QTest::keyClick(&editor, Qt::Key_Right);
        for (int i = 0; i < 9; ++i)
            QTest::keyClick(&editor, Qt::Key_Down);
        QCOMPARE(editor.Cursor(), QPoint(1, 9));
        QTest::keyClick(&editor, Qt::Key_Space);
        QCOMPARE(editor.Wave().samples[1], -2);
        QTest::keyClick(&editor, Qt::Key_Delete);
        QCOMPARE(editor.Wave().samples[1], 0);
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(&editor, Qt::Key_Right);
        QCOMPARE(editor.Cursor().x(), 31);
    }

    // [GIVEN] a painted editor [WHEN] one column changes [THEN] only that column and the
    // cursor cells are repainted
    void AChangeRepaintsItsColumnOnly() {
        CRecordingEditor editor;
        editor.setFixedSize(kWidth, kHeight);
        editor.SetWave(Wave(32, 16));
        QVERIFY(ShowActive(&editor));
        QTest::qWait(20);
        editor.painted = QRegion();
        QTest::mouseClick(&editor, Qt::LeftButton, Qt::NoModifier, Cell(0, 0));
        QTest::qWait(20);
        editor.painted = QRegion();
        QTest::mouseClick(&editor, Qt::LeftButton, Qt::NoModifier, Cell(12, 3));
        QTRY_VERIFY(!editor.painted.isEmpty());
        // Column 12, plus the old cursor cell in column 0.
        const QRect bounds = (editor.painted - QRect(0, 0, 11, 11)).boundingRect();
        QVERIFY2(bounds.left() >= 120 && bounds.right() <= 130,
                 qPrintable(QStringLiteral("%1..%2").arg(bounds.left()).arg(bounds.right())));
        QVERIFY(editor.painted.boundingRect().width() < kWidth / 2);
    }

    // [GIVEN] a 48-sample wave [WHEN] the dialog opens and "中" is chosen [THEN] no size at
    // first, then 64 samples of 32 levels
    void OtherSizesShowNoEntry() {
        CTrackData track;
        track.waveMemory = Wave(48, 16, 3);
        CWaveMemoryDialog dialog(OPTIONS(), nullptr);
        dialog.SetTrack(track);
        QVERIFY(ShowActive(&dialog));
        auto* size = Child<QComboBox>(&dialog, "size");
        QCOMPARE(size->currentIndex(), -1);
        QCOMPARE(size->count(), 3);
        QCOMPARE(size->itemText(1), QStringLiteral("中"));
        size->setFocus(Qt::TabFocusReason);
        QTest::keyClick(size, Qt::Key_Down);
        QTest::keyClick(size, Qt::Key_Down);
        QCOMPARE(size->currentText(), QStringLiteral("中"));
        const CWaveMemory wave = dialog.GetTrack().waveMemory;
        QCOMPARE(wave.samples.size(), size_t(64));
        QCOMPARE(wave.height, 32);
        QCOMPARE(CWaveMemoryDialog::SizeIndex(Wave(128, 64)), 2);
        QCOMPARE(CWaveMemoryDialog::SizeIndex(Wave(32, 32)), -1);
    }

    // [GIVEN] two dialogs [WHEN] one copies [THEN] the other's paste button turns on at once and
    // pasting brings the wave and its size entry; a damaged block is refused with the message
    void CopyPasteBetweenDialogs() {
        QGuiApplication::clipboard()->clear();
        CTrackData source;
        source.waveMemory = Wave(128, 64, -7);
        CWaveMemoryDialog from(OPTIONS(), nullptr);
        from.SetTrack(source);
        CWaveMemoryDialog to(OPTIONS(), nullptr);
        to.SetTrack(CTrackData());
        QVERIFY(ShowActive(&to));
        auto* paste = Child<QPushButton>(&to, "paste");
        QVERIFY(!paste->isEnabled());
        from.show();
        Click(Child<QPushButton>(&from, "copy"));
        QVERIFY(paste->isEnabled());
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(kClipWaveMemory));
        QVERIFY(ShowActive(&to));
        Click(paste);
        QCOMPARE(to.GetTrack().waveMemory, Wave(128, 64, -7));
        QCOMPARE(Child<QComboBox>(&to, "size")->currentIndex(), 2);

        auto* mime = new QMimeData;
        mime->setData(QLatin1String(kClipWaveMemory), QByteArray("\x05", 1));
        QGuiApplication::clipboard()->setMimeData(mime);
        QString text;
        OnNextModal(&to, [&](QDialog* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                text = box->text();
            modal->accept();
        });
        Click(paste);
        QCOMPARE(text, QStringLiteral("貼り付けに失敗しました。"));
        QCOMPARE(to.GetTrack().waveMemory, Wave(128, 64, -7));
        QGuiApplication::clipboard()->clear();
        QVERIFY(!paste->isEnabled());
    }

    // [GIVEN] a drawn column [WHEN] a key is pressed [THEN] the keyboard plays the wave as drawn
    void KeyboardPlaysTheWaveAsDrawn() {
        CWaveMemoryDialog dialog(OPTIONS(), nullptr);
        dialog.SetTrack(CTrackData());
        QVERIFY(ShowActive(&dialog));
        auto* editor = dialog.findChild<CWaveMemoryEditWnd*>();
        QTest::mouseClick(editor, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        auto* keyboard = dialog.findChild<CKeyboardWnd*>();
        QTest::mousePress(keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(dialog.PreviewTrack().settings.waveMemory.samples[0], 8);
        QCOMPARE(dialog.PreviewTrack().settings.waveform, int32_t(kWaveMemory));
        QTest::mouseRelease(keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    }

    // [GIVEN] single-cycle files of other lengths than the wave [WHEN] each is imported
    // [THEN] a shorter cycle is read between its frames, a longer one averaged around each
    // sample, a quiet one brought to full scale; the wave keeps its size
    void ImportResamplesAndQuantisesOneCycle() {
        QTemporaryDir folder;
        // 4 frames stretched over 32 samples of 16 levels: linear, the last frame leading
        // back to the first.
        const QString stretched = SaveWave(folder, "four.wav", {1000, 500, 0, -1000});
        // 128 frames shrunk to 32 samples: each sample is the mean of frames 4i-2 .. 4i+1,
        // which here hold one value, (i - 16) / 16 of the peak.
        std::vector<int> blocks;
        for (int j = 0; j < 128; ++j)
            blocks.push_back(((j + 2) / 4 % 32 - 16) * 2000);
        const QString shrunk = SaveWave(folder, "long.wav", blocks);
        // Stereo 8-bit, quiet: the mean of the channels, brought to full scale.
        std::vector<int> quiet;
        for (int j = 0; j < 32; ++j)
            quiet.insert(quiet.end(), {j < 16 ? 3 : -3, j < 16 ? 1 : -1});
        const QString stereo = SaveWave(folder, "quiet.wav", quiet, 2, 8);

        CWaveMemoryDialog dialog(OPTIONS(), nullptr);
        dialog.SetTrack(CTrackData());
        QString answer;
        dialog.SetFileChooser([&](QWidget*, const QString&, const QString&) { return answer; });
        QVERIFY(ShowActive(&dialog));
        auto* import = Child<QPushButton>(&dialog, "importWave");
        QCOMPARE(import->text(), QStringLiteral("読み込み(&I)..."));

        answer = stretched;
        Click(import);
        std::vector<int32_t> s = dialog.GetTrack().waveMemory.samples;
        QCOMPARE(s.size(), size_t(32));
        QCOMPARE(dialog.GetTrack().waveMemory.height, 16);
        const std::pair<size_t, int32_t> stretchedSamples[] = {
            {0, 8}, {4, 6}, {8, 4}, {12, 2}, {16, 0}, {20, -4}, {24, -8}, {28, 0}};
        for (auto [i, v] : stretchedSamples)
            QCOMPARE(s[i], v);

        answer = shrunk;
        Click(import);
        s = dialog.GetTrack().waveMemory.samples;
        const std::pair<size_t, int32_t> shrunkSamples[] = {{0, -8}, {1, -8}, {2, -7}, {15, -1},
                                                            {16, 0}, {17, 1}, {30, 7}, {31, 8}};
        for (auto [i, v] : shrunkSamples)
            QCOMPARE(s[i], v);

        answer = stereo;
        Click(import);
        s = dialog.GetTrack().waveMemory.samples;
        QCOMPARE(s[0], 8);
        QCOMPARE(s[31], -8);
        QCOMPARE(Child<QComboBox>(&dialog, "size")->currentIndex(), 0);

        answer.clear();
        Click(import);
        QCOMPARE(dialog.GetTrack().waveMemory.samples, s);
    }

    // [GIVEN] a "大" wave [WHEN] a cycle is imported and the dialog cancelled [THEN] the
    // import took the wave's 128 samples and 64 levels, starting from the PCM folder, and
    // the caller's wave is untouched
    void ImportFollowsTheWavesSizeAndCancelDropsIt() {
        QTemporaryDir folder;
        std::vector<int> ramp;
        for (int j = 0; j < 256; ++j)
            ramp.push_back((j - 128) * 256);
        const QString path = SaveWave(folder, "ramp.wav", ramp);
        OPTIONS options;
        options.pcmDefaultPath = folder.path().toStdString();
        CTrackData track;
        track.waveMemory = Wave(128, 64, 5);
        CWaveMemoryDialog dialog(options, nullptr);
        dialog.SetTrack(track);
        QString folderSeen;
        QString filterSeen;
        dialog.SetFileChooser([&](QWidget*, const QString& start, const QString& filter) {
            folderSeen = start;
            filterSeen = filter;
            return path;
        });
        QVERIFY(ShowActive(&dialog));
        Click(Child<QPushButton>(&dialog, "importWave"));
        QCOMPARE(folderSeen, folder.path());
        QVERIFY(filterSeen.contains(QStringLiteral("*.wav")));
        const CWaveMemory imported = dialog.GetTrack().waveMemory;
        QCOMPARE(imported.samples.size(), size_t(128));
        QCOMPARE(imported.height, 64);
        // Sample 0 lies where the cycle wraps: the ramp's jump averages out there.
        QCOMPARE(imported.samples[0], 0);
        QCOMPARE(imported.samples[1], -32);
        QCOMPARE(imported.samples[64], 0);
        QCOMPARE(imported.samples[127], 32);
        Click(CancelButton(&dialog));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(track.waveMemory, Wave(128, 64, 5));
    }

    // [GIVEN] a file that is no sound, and one too long for a cycle [WHEN] each is imported
    // [THEN] the message says why and the wave stays as it was
    void ImportRefusesWhatIsNoCycle() {
        QTemporaryDir folder;
        const QString garbage = folder.filePath(QStringLiteral("notes.txt"));
        QFile file(garbage);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a sound");
        file.close();
        const QString tooLong = SaveWave(folder, "long.wav", std::vector<int>(65537, 100));
        const struct {
            QString path;
            QString message;
        } cases[] = {
            {garbage, QStringLiteral("波形の読み込みに失敗しました。")},
            {folder.filePath(QStringLiteral("missing.wav")),
             QStringLiteral("波形の読み込みに失敗しました。")},
            {tooLong, QStringLiteral("1周期の波形として読み込めるのは 65536 サンプルまでです。")},
        };
        CTrackData track;
        track.waveMemory = Wave(32, 16, -3);
        CWaveMemoryDialog dialog(OPTIONS(), nullptr);
        dialog.SetTrack(track);
        QVERIFY(ShowActive(&dialog));
        for (const auto& c : cases) {
            dialog.SetFileChooser([&](QWidget*, const QString&, const QString&) { return c.path; });
            QString text;
            OnNextModal(&dialog, [&](QDialog* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal))
                    text = box->text();
                modal->accept();
            });
            Click(Child<QPushButton>(&dialog, "importWave"));
            QCOMPARE(text, c.message);
            QCOMPARE(dialog.GetTrack().waveMemory, Wave(32, 16, -3));
        }
    }

    // [GIVEN] the restore-window option [WHEN] a resized dialog closes and another opens [THEN]
    // the size comes back from "WaveMemoryDialog State"
    void SizeIsStoredAndRestored() {
        QTemporaryDir folder;
        QSettings state(folder.filePath(QStringLiteral("state.ini")), QSettings::IniFormat);
        OPTIONS options;
        options.restoreWindow = 1;
        {
            CWaveMemoryDialog dialog(options, &state);
            QVERIFY(ShowActive(&dialog));
            dialog.resize(700, 520);
            QTRY_COMPARE(dialog.size(), QSize(700, 520));
            Click(OkButton(&dialog));
        }
        QCOMPARE(state.value(QStringLiteral("WaveMemoryDialog State/Width")).toInt(), 700);
        QCOMPARE(state.value(QStringLiteral("WaveMemoryDialog State/Height")).toInt(), 520);
        CWaveMemoryDialog again(options, &state);
        QCOMPARE(again.size(), QSize(700, 520));
        options.restoreWindow = 0;
        CWaveMemoryDialog fresh(options, &state);
        QVERIFY(fresh.size() != QSize(700, 520));
    }
};

QTEST_MAIN(WaveMemoryTest)
#include "WaveMemoryTest.moc"
