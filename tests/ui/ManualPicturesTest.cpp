// The pictures of the manual. Every picture a chapter shows must be in docs/manual/images,
// so a renamed or forgotten picture fails. With TSQ_WRITE_SCREENSHOTS=1 the pictures are
// drawn again from the program itself: the editor window with the demo song, the track
// dialog, and one or two cycles of every sound source as the renderer plays them.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "app/EditorLook.h"
#include "dialogs/CTrackDialog.h"
#include "engine/CSongRenderer.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

const QString kManualSource = QStringLiteral(TSQ_MANUAL_SOURCE);
const QString kImages = kManualSource + QStringLiteral("/images");

// A3 (220 Hz): at 44100 Hz about 200 frames a cycle, two cycles in the picture's width.
constexpr int32_t kRate = 44100;
constexpr int32_t kKeyA3 = 62;
constexpr int32_t kFirstFrame = kRate / 20;
constexpr int kWaveWidth = 400;
constexpr int kWaveHeight = 120;

struct WAVE_PICTURE {
    const char* file;
    int32_t waveform;
    int32_t duty;
};

constexpr WAVE_PICTURE kWaves[] = {
    {"wave-square.png", kSquare, -128},
    {"wave-triangle.png", kTriangle, 0},
    {"wave-saw.png", kSawtooth, 0},
    {"wave-sine.png", kSine, 0},
    {"wave-noise.png", kNoise, 0},
    {"wave-memory.png", kWaveMemory, 0},
    {"wave-fm.png", kFm, 0},
};

// A drawn wave with a step and a bump, as a user might draw one.
CWaveMemory DrawnWave() {
    CWaveMemory wave;
    const auto count = static_cast<int>(wave.samples.size());
    for (int i = 0; i < count; ++i) {
        const double phase = 2 * M_PI * i / count;
        const double value = 5.5 * std::sin(phase) + 2.5 * std::sin(3 * phase);
        wave.samples[static_cast<size_t>(i)] =
            std::clamp(static_cast<int32_t>(std::lround(value)), -wave.height / 2, wave.height / 2);
    }
    return wave;
}

// The frames of one long A3 on a track of the source, as a build renders them.
std::vector<double> RenderedFrames(const WAVE_PICTURE& picture) {
    CProject song;
    song.data.samplesPerSec = kRate;
    song.data.channels = 1;
    song.data.reductionPuchiNoise = 0;
    CTrack& track = song.tracks.emplace_back();
    track.settings.waveform = picture.waveform;
    track.settings.duty = picture.duty;
    track.settings.volume = 255;
    track.settings.waveMemory = DrawnWave();
    // A modulator at a moderate level over a carrier, the others silent: a bright tone
    // that still shows its cycle.
    std::array<CFMOperator, 4>& operators = track.settings.fm.operators;
    operators[0].multiple = 2.0;
    operators[0].envelope.level = 200;
    operators[1].envelope.level = 0;
    operators[2].envelope.level = 0;
    CNote note;
    note.length = 1920;
    note.key = kKeyA3;
    note.volume = 255;
    track.AddNote(note);
    const CSongRenderer renderer(song);
    std::vector<double> frames(static_cast<size_t>(kRate));
    renderer.RenderSecond(0, kRate, frames.data());
    return {frames.begin() + kFirstFrame, frames.begin() + kFirstFrame + kWaveWidth};
}

// The frames as a line over a zero line, the loudest frame touching the frame's edge.
QImage WavePicture(const std::vector<double>& frames) {
    QImage image(kWaveWidth, kWaveHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double middle = kWaveHeight / 2.0;
    painter.setPen(QColor(0xc8, 0xcc, 0xd8));
    painter.drawLine(QPointF(0, middle), QPointF(kWaveWidth, middle));
    double peak = 0;
    for (double value : frames)
        peak = std::max(peak, std::abs(value));
    const double scale = peak > 0 ? (middle - 6) / peak : 0;
    QPainterPath path;
    for (size_t x = 0; x < frames.size(); ++x) {
        const QPointF point(static_cast<double>(x), middle - frames[x] * scale);
        if (x == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    painter.setPen(QPen(QColor(0x2a, 0x5d, 0xb0), 2));
    painter.drawPath(path);
    return image;
}

QStringList PicturesTheChaptersShow() {
    static const QRegularExpression picture(QStringLiteral("\\]\\(\\.\\./images/([^)]+)\\)"));
    QStringList names;
    QDirIterator chapters(kManualSource, {QStringLiteral("*.md")}, QDir::Files,
                          QDirIterator::Subdirectories);
    while (chapters.hasNext()) {
        QFile chapter(chapters.next());
        if (!chapter.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(chapter.readAll());
        for (const QRegularExpressionMatch& match : picture.globalMatch(text))
            names << match.captured(1);
    }
    names.removeDuplicates();
    return names;
}

// The demo song in the editor window and its first track's properties, as PNGs named
// "main-window<suffix>.png" and "track-dialog<suffix>.png".
void WriteWindowPictures(const QString& suffix) {
    TestApp app;
    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    CMainFrame frame(app, &prompts, &launcher);
    QVERIFY(frame.OpenFile(QStringLiteral(TSQ_BINARY_DIR "/examples/demo.tqp")));
    frame.resize(1000, 640);
    frame.ShowWindow(false);
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    // The lead's tune starts in measure 5, a little above the middle of the keys.
    frame.PianoRollWnd().horizontalScrollBar()->setValue(4 * 1920);
    frame.PianoRollWnd().SetVerticalScroll(34);
    frame.PianoRollWnd().SetCaret(4 * 1920, 44);
    frame.TrackWnd().setCurrentRow(0);
    QTest::qWait(100);
    QVERIFY(frame.grab().save(kImages + "/main-window" + suffix + ".png"));
    CTrackDialog dialog;
    dialog.SetTrackData(frame.Edit().Project().tracks.front().settings);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(kImages + "/track-dialog" + suffix + ".png"));
    QVERIFY(prompts.shown.isEmpty());
}

} // namespace

class ManualPicturesTest : public QObject {
    Q_OBJECT
private slots:
    void everyPictureTheManualShowsIsThere() {
        const QStringList names = PicturesTheChaptersShow();
        QVERIFY(names.contains(QStringLiteral("main-window.png")));
        for (const QString& name : names)
            QVERIFY2(QFileInfo::exists(kImages + u'/' + name), qPrintable(name + " is missing"));
    }

    // Each source's picture is of a sound: a silent source would draw a flat line.
    void everySourceSounds() {
        for (const WAVE_PICTURE& picture : kWaves) {
            const std::vector<double> frames = RenderedFrames(picture);
            const auto [low, high] = std::minmax_element(frames.begin(), frames.end());
            QVERIFY2(*high - *low > 0.1, picture.file);
        }
    }

    void writePictures() {
        if (qEnvironmentVariableIntValue("TSQ_WRITE_SCREENSHOTS") != 1)
            QSKIP("set TSQ_WRITE_SCREENSHOTS=1 to draw the manual's pictures again");
        for (const WAVE_PICTURE& picture : kWaves)
            QVERIFY(WavePicture(RenderedFrames(picture)).save(kImages + u'/' + picture.file));
        ApplyEditorLook(*qApp);
        WriteWindowPictures(QString());
        // The English chapters show the English interface.
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(TSQ_BINARY_DIR "/tsq_en.qm")));
        QCoreApplication::installTranslator(&english);
        WriteWindowPictures(QStringLiteral("-en"));
        QCoreApplication::removeTranslator(&english);
    }
};

std::unique_ptr<QObject> MakeManualPicturesTest() {
    return std::make_unique<ManualPicturesTest>();
}

#include "ManualPicturesTest.moc"
