// Live playback through the frame on the capture device: an edit made while the song plays
// is heard from where it lies ahead of the play position on, undo counts as an edit, an
// edit behind the play position waits for the next pass of the loop, a tempo edit keeps
// the musical position, and the file left behind equals a full rebuild. With the option
// off the file plays as it was built. The metronome clicks on the beats of what is heard
// and never in the file; a loop of the selection wraps at its exact frames and plays an
// edit inside it from the next pass on. A solo, toggled with Ctrl and a click on the mute
// picture, plays only its track from a file of its own and leaves the song's build alone.
// Building, rebuilding, saving under a new name and turning solo off while playing keep the
// song playing, and what is heard afterwards is the song as edited.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "model/WavHeader.h"
#include "ui/CBuildController.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CPlaybackController.h"
#include "ui/CSoloTracks.h"
#include "ui/CommandIds.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/trackwnd/CTrackRowPainter.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRate = 8000;                                    // mono 16-bit: two bytes a frame
constexpr int32_t kTicksPerSecond = 960;                       // at 120 BPM
constexpr long kHeader = long(kWavHeaderSize);                 // a build's WAV file
constexpr long kCaptureHeader = long(kWavHeaderSizeWithExtra); // the capture's

constexpr int kBeatFrames = kRate / 2; // a quarter note at 120 BPM
constexpr int kClickFrames = 40;       // 5 ms

std::vector<int16_t> Samples(const std::vector<uint8_t>& data) {
    std::vector<int16_t> samples(data.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(data[2 * i] | (data[2 * i + 1] << 8));
    return samples;
}

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

// The last `seconds` of two sounds agree: after a change of file the capture starts again
// where the new file took over, but it still ends with the song.
bool TailsAgree(const std::vector<uint8_t>& heard, const std::vector<uint8_t>& file,
                double seconds) {
    const size_t bytes = size_t(seconds * kRate) * 2;
    return heard.size() >= bytes && file.size() >= bytes &&
           std::equal(heard.end() - long(bytes), heard.end(), file.end() - long(bytes));
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

    // Selects the notes of the first track that start in [fromSecond, toSecond).
    void SelectNotes(double fromSecond, double toSecond) {
        const CTrack& track = frame->Edit().Project().tracks[0];
        track.ForEachNote([&](const CNote* n) {
            if (n->position >= fromSecond * kTicksPerSecond &&
                n->position < toSecond * kTicksPerSecond)
                frame->Edit().SelectNote(n, true);
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

    void metronomeClicksOnTheBeatsAndNeverInTheFile() {
        SetShortSong(3);
        QVERIFY(frame->RunCommand(cmd::kMetronome));
        QVERIFY(frame->Playback().Metronome());
        Capture capture;
        QVERIFY(Play());
        QVERIFY(WaitForEnd(10000));
        const std::vector<int16_t> heard = Samples(capture.Data());
        const std::vector<int16_t> file = Samples(WavData());
        QCOMPARE(file.size(), size_t(3 * kRate));
        QVERIFY(heard.size() >= file.size());
        // What was heard is the file, but for a click from every beat's frame on; the first
        // beat of each measure (every fourth) is the louder.
        std::vector<int> clickPeaks;
        for (size_t f = 0; f < file.size(); ++f) {
            const int difference = std::abs(heard[f] - file[f]);
            if (f % kBeatFrames >= kClickFrames)
                QVERIFY2(difference == 0, qPrintable(QString::number(f)));
            else if (f % kBeatFrames == 0)
                clickPeaks.push_back(difference);
        }
        QCOMPARE(clickPeaks.size(), size_t(6));
        for (size_t beat = 0; beat < clickPeaks.size(); ++beat) {
            const int plain = beat % 4 == 0 ? clickPeaks[1] : clickPeaks[beat];
            QVERIFY(plain > 1000);
            if (beat % 4 == 0)
                QVERIFY(clickPeaks[beat] > plain * 3 / 2);
        }
        // The file is what a rebuild writes: no click ever reaches it.
        QVERIFY(RebuiltData() == WavData());
    }

    void metronomeVolumeComesFromTheOptions() {
        app->options.metronomeVolume = 0;
        SetShortSong(1);
        QVERIFY(frame->RunCommand(cmd::kMetronome));
        Capture capture;
        QVERIFY(Play());
        QVERIFY(WaitForEnd(10000));
        QVERIFY(Seconds(capture.Data(), 0, 1) == WavData());
    }

    void selectionLoopWrapsAtItsFramesAndHearsAnEditOnTheNextPass() {
        SetShortSong(4);
        SelectNotes(1.0, 2.0);
        Capture capture;
        QVERIFY(AwaitBuild(frame->Builds(),
                           [&] { QVERIFY(frame->RunCommand(cmd::kPlayLoopSelection)); }));
        QVERIFY(frame->Playback().IsLooping());
        const std::vector<uint8_t> before = Seconds(WavData(), 1, 2);
        constexpr size_t kPass = size_t(kRate) * 2; // bytes of one pass: a second
        QVERIFY(RunUntil([&] { return capture.Data().size() >= 2 * kPass; }, 5000));
        RaiseNotes(1.5, 2.0);
        const size_t editedAt = capture.Data().size() / kPass + 1;
        QVERIFY(RunUntil([&] { return !frame->Builds().IsBuildingLive(); }, 5000));
        const size_t builtAt = capture.Data().size() / kPass + 1;
        QVERIFY(RunUntil([&] { return capture.Data().size() >= (builtAt + 2) * kPass; }, 8000));
        QVERIFY(frame->RunCommand(cmd::kPlayLoopSelection));
        QVERIFY(!frame->Playback().IsLooping());
        QVERIFY(frame->Playback().IsPlaying());
        const std::vector<uint8_t> after = Seconds(WavData(), 1, 2);
        QVERIFY(after != before);
        // Every pass is the whole stretch from its first frame: the wrap is exact.
        const std::vector<uint8_t> heard = capture.Data();
        for (size_t pass = 0; pass < builtAt + 2; ++pass) {
            const std::vector<uint8_t> played(heard.begin() + long(pass * kPass),
                                              heard.begin() + long((pass + 1) * kPass));
            if (pass < editedAt - 1)
                QVERIFY2(played == before, qPrintable(QString::number(pass)));
            else if (pass >= builtAt)
                QVERIFY2(played == after, qPrintable(QString::number(pass)));
        }
        QVERIFY(frame->RunCommand(cmd::kStop));
    }

    // Ctrl and a click on the mute picture of a row, as the user does it.
    void CtrlClickMutePicture(int row) {
        CTrackWnd& tracks = frame->TrackWnd();
        const QRect rect = tracks.RowRect(row);
        QTest::mouseClick(tracks.viewport(), Qt::LeftButton, Qt::ControlModifier,
                          QPoint(CTrackRowPainter::kMuteX + 6, rect.top() + 18));
    }

    bool SoloBoxPainted(int row) {
        CTrackWnd& tracks = frame->TrackWnd();
        const QImage image = tracks.viewport()->grab().toImage();
        const QPoint corner(CTrackRowPainter::kMuteX + 1,
                            tracks.RowRect(row).top() + CTrackRowPainter::kSoloY + 1);
        const qreal ratio = image.devicePixelRatio();
        return image.pixel(int(corner.x() * ratio), int(corner.y() * ratio)) ==
               CTrackRowPainter::kSoloColor;
    }

    void soloPlaysItsTrackAloneAndLeavesTheBuildAlone() {
        CProject song = MakeSong(6);
        song.data.channels = 1;
        song.data.samplesPerSec = kRate;
        song.data.startDummy = 0;
        song.data.endDummy = 0;
        song.tracks.push_back(song.tracks[0]);
        song.tracks[1].TakeNewIdentity();
        song.tracks[1].ForEachNote([&](const CNote* n) {
            CNote lower = *n;
            lower.key += 7;
            song.tracks[1].UpdateNote(n, lower);
        });
        SetSong(song);
        frame->TrackWnd().Refresh();
        bool built = false;
        QVERIFY(AwaitBuild(
            frame->Builds(), [&] { frame->Builds().Build(false); }, &built));
        QVERIFY(built);
        const std::vector<uint8_t> full = FileBytes(frame->Builds().WavPath());
        const bool modified = frame->Edit().Project().modified != 0;

        CtrlClickMutePicture(1);
        QVERIFY(frame->Solo().IsSolo(1));
        QVERIFY(!frame->Solo().IsSolo(0));
        QVERIFY(SoloBoxPainted(1));
        QVERIFY(!SoloBoxPainted(0));
        QCOMPARE(frame->Edit().Project().tracks[1].settings.mute, 0);
        QVERIFY(!frame->Edit().Unbuilt().AnySet());
        QCOMPARE(frame->Edit().Project().modified != 0, modified);

        Capture capture;
        QVERIFY(frame->RunCommand(cmd::kPlay));
        QVERIFY(RunUntil([&] { return frame->Playback().IsPlaying(); }, 10000));
        QVERIFY(WaitForEnd(10000));
        const std::vector<uint8_t> heard = capture.Data();
        // The song's file is byte for byte what it was, and nothing is left to build.
        QVERIFY(FileBytes(frame->Builds().WavPath()) == full);
        QVERIFY(!frame->Edit().Unbuilt().AnySet());

        // What was heard is the song with the first track muted.
        frame->Edit().Edit(CEditController::kViewAll, [&](CProject& p) {
            p.tracks[0].settings.mute = 1;
            frame->Edit().MarkAll();
        });
        const std::vector<uint8_t> alone = RebuiltData();
        QVERIFY(alone != std::vector<uint8_t>(full.begin() + kHeader, full.end()));
        QVERIFY(Seconds(heard, 0, 3) == Seconds(alone, 0, 3));
    }

    void soloClickTwiceAndTheSoloCommandAgree() {
        SetShortSong(1);
        frame->TrackWnd().Refresh();
        CtrlClickMutePicture(0);
        QVERIFY(frame->Solo().IsSolo(0));
        QVERIFY(RunUntil([&] { return frame->Action(cmd::kTrackSolo)->isChecked(); }, 1000));
        QVERIFY(frame->RunCommand(cmd::kTrackSolo));
        QVERIFY(!frame->Solo().IsSolo(0));
        CtrlClickMutePicture(0);
        CtrlClickMutePicture(0);
        QVERIFY(!frame->Solo().Any());
        // Without Ctrl the picture still mutes.
        QTest::mouseClick(frame->TrackWnd().viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(CTrackRowPainter::kMuteX + 6, 18));
        QCOMPARE(frame->Edit().Project().tracks[0].settings.mute, 1);
        QVERIFY(!frame->Solo().Any());
    }

    void buildAndRebuildWhilePlayingGoOnPlaying() {
        SetShortSong(6);
        Capture capture;
        QVERIFY(Play());
        const std::vector<uint8_t> before = WavData();
        QVERIFY(WaitForTick(kTicksPerSecond / 4));
        RaiseNotes(3.0, 4.5);
        QVERIFY(AwaitBuild(frame->Builds(), [&] { QVERIFY(frame->RunCommand(cmd::kBuild)); }));
        QVERIFY(frame->Playback().IsPlaying());
        RaiseNotes(4.5, 6.0);
        QVERIFY(AwaitBuild(frame->Builds(), [&] { QVERIFY(frame->RunCommand(cmd::kRebuild)); }));
        QVERIFY(frame->Playback().IsPlaying());
        QVERIFY(frame->PianoRollWnd().PlayLine() < 3 * kTicksPerSecond);
        QVERIFY(WaitForEnd(10000));
        const std::vector<uint8_t> heard = capture.Data();
        const std::vector<uint8_t> after = WavData();
        QVERIFY(Seconds(after, 3, 6) != Seconds(before, 3, 6));
        QVERIFY(Seconds(heard, 3, 6) == Seconds(after, 3, 6));
        QVERIFY(Seconds(heard, 0, 1) == Seconds(before, 0, 1));
    }

    void savingUnderANewNameWhilePlayingGoesOnAndHearsEdits() {
        SetShortSong(6);
        Capture capture;
        QVERIFY(Play());
        const QString oldWav = frame->Builds().WavPath();
        QVERIFY(WaitForTick(kTicksPerSecond / 4));
        const QString path = app->Folder() + "/renamed.tqp";
        prompts->saveNames = {path};
        QVERIFY(frame->RunCommand(cmd::kFileSaveAs));
        QVERIFY(frame->Playback().IsPlaying());
        const QString newWav = frame->Builds().WavPath();
        QVERIFY(newWav != oldWav);
        // The new file is built quietly while the old one plays on.
        QVERIFY(RunUntil(
            [&] {
                return QFile::exists(newWav) && !frame->Builds().IsBuildingLive() &&
                       !frame->Edit().Unbuilt().AnySet();
            },
            5000));
        QVERIFY(frame->Playback().IsPlaying());
        QVERIFY(frame->PianoRollWnd().PlayLine() < 3 * kTicksPerSecond);
        const std::vector<uint8_t> before = WavData();
        RaiseNotes(4.0, 6.0);
        QVERIFY(WaitForEnd(10000));
        const std::vector<uint8_t> after = WavData();
        QVERIFY(Seconds(after, 4, 6) != Seconds(before, 4, 6));
        QVERIFY(TailsAgree(capture.Data(), after, 1.5));
    }

    void soloOffAfterEditsGoesOnWithTheWholeSong() {
        SetShortSong(6);
        frame->TrackWnd().Refresh();
        bool built = false;
        QVERIFY(AwaitBuild(
            frame->Builds(), [&] { frame->Builds().Build(false); }, &built));
        QVERIFY(built);
        CtrlClickMutePicture(0);
        QVERIFY(frame->Solo().IsSolo(0));
        Capture capture;
        QVERIFY(frame->RunCommand(cmd::kPlay));
        QVERIFY(RunUntil([&] { return frame->Playback().IsPlaying(); }, 10000));
        QVERIFY(WaitForTick(kTicksPerSecond / 4));
        RaiseNotes(3.0, 6.0);
        QVERIFY(frame->Edit().Unbuilt().AnySet());
        QVERIFY(frame->RunCommand(cmd::kTrackSolo));
        QVERIFY(!frame->Solo().Any());
        QVERIFY(frame->Playback().IsPlaying());
        QVERIFY(RunUntil([&] { return !frame->Edit().Unbuilt().AnySet(); }, 5000));
        QVERIFY(frame->Playback().IsPlaying());
        QVERIFY(WaitForEnd(10000));
        QVERIFY(TailsAgree(capture.Data(), WavData(), 2.0));
        QVERIFY(RebuiltData() == WavData());
    }

    void soloFollowsItsTrackWhenTracksMove() {
        CProject song = MakeSong(2);
        song.tracks.push_back(song.tracks[0]);
        song.tracks[1].TakeNewIdentity();
        SetSong(song);
        const uint64_t second = frame->Edit().Project().tracks[1].Identity();
        frame->TrackWnd().Refresh();
        CtrlClickMutePicture(1);
        QVERIFY(frame->Solo().IsSolo(1));
        frame->Edit().SetCurrentTrack(1);
        QVERIFY(frame->RunCommand(cmd::kTrackUp));
        QCOMPARE(frame->Edit().Project().tracks[0].Identity(), second);
        QVERIFY(frame->Solo().IsSolo(0));
        QVERIFY(!frame->Solo().IsSolo(1));
        QVERIFY(SoloBoxPainted(0));
        QVERIFY(frame->RunCommand(cmd::kUndo));
        QVERIFY(frame->Solo().IsSolo(1));
        QVERIFY(!frame->Solo().IsSolo(0));
        // A duplicate is a track of its own; a track that goes takes its solo along.
        QVERIFY(frame->RunCommand(cmd::kTrackDuplicate));
        QCOMPARE(frame->Edit().Project().tracks.size(), size_t(3));
        QVERIFY(frame->Solo().IsSolo(1));
        QVERIFY(!frame->Solo().IsSolo(2));
        QVERIFY(frame->RunCommand(cmd::kUndo));
        frame->Edit().Edit(CEditController::kViewAll, [&](CProject& p) { p.RemoveTrack(1); });
        QVERIFY(!frame->Solo().Any());
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
