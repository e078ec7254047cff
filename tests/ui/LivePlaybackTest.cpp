// Live playback through the frame on the capture device: an edit made while the song plays
// is heard from where it lies ahead of the play position on, undo counts as an edit, an
// edit behind the play position waits for the next pass of the loop, a tempo edit keeps
// the musical position, and the file left behind equals a full rebuild. With the option
// off the file plays as it was built.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "model/WavHeader.h"
#include "ui/CBuildController.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CPlaybackController.h"
#include "ui/CommandIds.h"
#include "ui/pianoroll/CPianoRollWnd.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <vector>

namespace {

constexpr int kRate = 8000;                                    // mono 16-bit: two bytes a frame
constexpr int32_t kTicksPerSecond = 960;                       // at 120 BPM
constexpr long kHeader = long(kWavHeaderSize);                 // a build's WAV file
constexpr long kCaptureHeader = long(kWavHeaderSizeWithExtra); // the capture's

std::vector<uint8_t> FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

// Bytes [fromSecond, toSecond) of mono 16-bit sound at kRate.
std::vector<uint8_t> Seconds(const std::vector<uint8_t>& data, double fromSecond, double toSecond) {
    const size_t first = std::min(data.size(), size_t(fromSecond * kRate) * 2);
    const size_t end = std::min(data.size(), size_t(toSecond * kRate) * 2);
    return {data.begin() + long(first), data.begin() + long(std::max(first, end))};
}

// The capture device for the life of the object: what the song's stream played, as the
// bytes of its WAV file's data. The silent device comes back afterwards.
class Capture {
public:
    Capture() : m_path(m_dir.filePath("capture.wav")) {
        qputenv("TSQ_AUDIO_DEVICE", ("capture:" + m_path).toUtf8());
    }
    ~Capture() { qputenv("TSQ_AUDIO_DEVICE", "null"); }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    std::vector<uint8_t> Data() const {
        const std::vector<uint8_t> bytes = FileBytes(m_path);
        return {bytes.begin() + std::min<long>(kCaptureHeader, long(bytes.size())), bytes.end()};
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace

class LivePlaybackTest : public FrameTestBase {
    Q_OBJECT
private:
    // A song of `seconds` seconds of quarter notes at 120 BPM in mono 16-bit at 8000 Hz,
    // without silence around it, so a captured frame is a frame of the file's data.
    void SetShortSong(int seconds, bool loop = false) {
        CProject song = MakeSong(seconds * 2);
        song.data.channels = 1;
        song.data.samplesPerSec = kRate;
        song.data.startDummy = 0;
        song.data.endDummy = 0;
        song.data.loopEnabled = loop ? 1 : 0;
        song.data.loopStart = 0;
        song.data.loopEnd = seconds * kTicksPerSecond;
        SetSong(song);
    }

    bool Play() {
        return AwaitBuild(frame->Builds(), [&] { QVERIFY(frame->RunCommand(cmd::kPlay)); }) &&
               frame->Playback().IsPlaying();
    }

    // Raises by an octave the notes that start in [fromSecond, toSecond): the song's
    // length and timing stay as they are.
    void RaiseNotes(double fromSecond, double toSecond) {
        CEditController& edit = frame->Edit();
        edit.Edit(CEditController::kViewAll, [&](CProject& p) {
            CTrack& track = p.tracks[0];
            std::vector<const CNote*> notes;
            track.ForEachNote([&](const CNote* n) {
                if (n->position >= fromSecond * kTicksPerSecond &&
                    n->position < toSecond * kTicksPerSecond)
                    notes.push_back(n);
            });
            for (const CNote* n : notes) {
                CNote raised = *n;
                raised.key -= 12;
                edit.MarkNote(track, raised);
                track.UpdateNote(n, raised);
            }
        });
    }

    bool WaitForTick(int32_t tick) {
        return RunUntil([&] { return frame->PianoRollWnd().PlayLine() >= tick; }, 5000);
    }

    // Playback has ended by itself and the live build behind it too.
    bool WaitForEnd(int timeoutMs) {
        return RunUntil(
            [&] { return !frame->Playback().IsPlaying() && !frame->Builds().IsBuildingLive(); },
            timeoutMs);
    }

    std::vector<uint8_t> WavData() {
        const std::vector<uint8_t> bytes = FileBytes(frame->Builds().WavPath());
        return {bytes.begin() + std::min<long>(kHeader, long(bytes.size())), bytes.end()};
    }

    std::vector<uint8_t> RebuiltData() {
        bool built = false;
        if (!AwaitBuild(
                frame->Builds(), [&] { frame->Builds().Build(true); }, &built) ||
            !built)
            return {};
        return WavData();
    }

private slots:
    void init() {
        QVERIFY(OpenFrame());
        app->options.playMove = 1;
    }

    void cleanup() { CloseFrame(); }

    void editAheadIsHeardAndTheFileEqualsARebuild() {
        QCOMPARE(app->options.livePlayback, 1);
        SetShortSong(4);
        Capture capture;
        QVERIFY(Play());
        const std::vector<uint8_t> before = WavData();
        QVERIFY(WaitForTick(kTicksPerSecond / 4));
        RaiseNotes(1.5, 3.0);
        QVERIFY(frame->Playback().IsPlaying());
        QVERIFY(WaitForEnd(10000));
        const std::vector<uint8_t> heard = capture.Data();
        const std::vector<uint8_t> after = WavData();
        QVERIFY(Seconds(after, 1.5, 3.0) != Seconds(before, 1.5, 3.0));
        QCOMPARE(Seconds(after, 0, 1.5), Seconds(before, 0, 1.5));
        // From a second after the edit on, what was heard is the edited song.
        QVERIFY(heard.size() >= after.size());
        QVERIFY(Seconds(heard, 1.25, 4) == Seconds(after, 1.25, 4));
        QVERIFY(!frame->Edit().Unbuilt().AnySet());
        QVERIFY(RebuiltData() == after);
    }

    void undoWhilePlayingIsHeard() {
        SetShortSong(4);
        Capture capture;
        QVERIFY(Play());
        const std::vector<uint8_t> before = WavData();
        QVERIFY(WaitForTick(kTicksPerSecond / 4));
        RaiseNotes(2.0, 4.0);
        QVERIFY(WaitForTick(kTicksPerSecond * 3 / 4));
        QVERIFY(frame->RunCommand(cmd::kUndo));
        QVERIFY(WaitForEnd(10000));
        const std::vector<uint8_t> heard = capture.Data();
        QVERIFY(Seconds(heard, 1.5, 4) == Seconds(before, 1.5, 4));
        QVERIFY(WavData() == before);
    }

    void editBehindWaitsForTheNextPassOfTheLoop() {
        SetShortSong(2, true);
        Capture capture;
        QVERIFY(Play());
        const std::vector<uint8_t> before = WavData();
        QVERIFY(WaitForTick(kTicksPerSecond * 5 / 4));
        RaiseNotes(0, 0.5);
        QVERIFY(RunUntil([&] { return capture.Data().size() >= size_t(kRate) * 2 * 3; }, 5000));
        QVERIFY(frame->RunCommand(cmd::kStop));
        QVERIFY(RunUntil([&] { return !frame->Builds().IsBuildingLive(); }, 5000));
        const std::vector<uint8_t> heard = capture.Data();
        const std::vector<uint8_t> after = WavData();
        QVERIFY(Seconds(after, 0, 0.5) != Seconds(before, 0, 0.5));
        QVERIFY(Seconds(heard, 0, 0.5) == Seconds(before, 0, 0.5));
        QVERIFY(Seconds(heard, 2, 2.5) == Seconds(after, 0, 0.5));
    }

    void tempoEditKeepsTheMusicalPosition() {
        SetShortSong(4);
        Capture capture;
        QVERIFY(Play());
        QVERIFY(WaitForTick(kTicksPerSecond));
        frame->Edit().Edit(CEditController::kViewAll, [&](CProject& p) {
            TEMPO tempo = p.data.tempos[0];
            tempo.tempo = 60;
            p.data.tempos.SetAt(0, tempo);
            frame->Edit().MarkAll();
        });
        // Half the tempo: the song now lasts 8 s, and the play line goes on from where it
        // was rather than jumping by the ratio of the tempos.
        int32_t last = frame->PianoRollWnd().PlayLine();
        bool steady = true;
        const bool passed = RunUntil(
            [&] {
                const int32_t tick = frame->PianoRollWnd().PlayLine();
                steady = steady && tick >= last && tick - last < kTicksPerSecond / 2;
                last = tick;
                return tick >= 5 * kTicksPerSecond / 2 || !steady;
            },
            8000);
        QVERIFY(steady);
        QVERIFY(passed);
        QVERIFY(frame->Playback().IsPlaying());
        QVERIFY(frame->RunCommand(cmd::kStop));
    }

    void optionOffPlaysTheFileAsBuilt() {
        app->options.livePlayback = 0;
        SetShortSong(3);
        Capture capture;
        QVERIFY(Play());
        const std::vector<uint8_t> before = WavData();
        QVERIFY(WaitForTick(kTicksPerSecond / 4));
        RaiseNotes(1.5, 3.0);
        QVERIFY(WaitForEnd(10000));
        QVERIFY(Seconds(capture.Data(), 0, 3) == Seconds(before, 0, 3));
        QVERIFY(frame->Edit().Unbuilt().AnySet());
        QVERIFY(WavData() == before);
    }
};

std::unique_ptr<QObject> MakeLivePlaybackTest() {
    return std::make_unique<LivePlaybackTest>();
}

#include "LivePlaybackTest.moc"
