// Recording while the song plays on the capture device, through the frame: keys of the
// computer keyboard (real key events on the piano roll) and of the MIDI keyboard land on
// the current track at the fit unit's grid as one undo step, a looping song adds the notes
// of every pass, and with playback stopped the keys do what they did before.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "preview/CMidiInput.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CMidiKeyboard.h"
#include "ui/CNoteDefaults.h"
#include "ui/CPlaybackController.h"
#include "ui/CRecorder.h"
#include "ui/CommandIds.h"
#include "ui/NoteSnap.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/pianoroll/CStepInput.h"

#include <QAction>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <set>
#include <vector>

namespace {

constexpr int32_t kTicksPerSecond = 960; // at 120 BPM
constexpr int32_t kFit = 480;
constexpr int kC = 47;           // C5: the caret row of these tests, Z's row
constexpr int kMiddleC = 59;     // MIDI note 60
constexpr int kMidiVolume = 200; // velocity 100 × 255 / 127

struct SEEN {
    int32_t position;
    int32_t length;
    int key;
    int volume;
    bool operator<(const SEEN& o) const {
        return std::tie(position, key, length, volume) <
               std::tie(o.position, o.key, o.length, o.volume);
    }
    bool operator==(const SEEN& o) const = default;
};

// The ticks around an event: the position before and after it was given. The recorder
// read the position between the two, so its snapped value is one of theirs.
struct WINDOW {
    int32_t before = 0;
    int32_t after = 0;
};

} // namespace

class RecordTest : public FrameTestBase {
    Q_OBJECT
private:
    // Two seconds of an empty track at 120 BPM in mono at 8000 Hz, looping or not.
    void SetEmptySong(int seconds, bool loop) {
        CProject song = MakeSong(0);
        song.data.channels = 1;
        song.data.samplesPerSec = 8000;
        song.data.startDummy = 0;
        song.data.endDummy = 0;
        song.data.loopEnabled = loop ? 1 : 0;
        song.data.loopStart = 0;
        song.data.loopEnd = seconds * kTicksPerSecond;
        CNote last; // the song lasts as long as its last note
        last.position = seconds * kTicksPerSecond - 1;
        last.key = 90;
        last.volume = 0;
        song.tracks[0].AddNote(last);
        SetSong(song);
    }

    bool Play() {
        return AwaitBuild(frame->Builds(), [&] { QVERIFY(frame->RunCommand(cmd::kPlay)); }) &&
               frame->Playback().IsPlaying();
    }

    bool WaitForTick(int32_t tick) {
        return RunUntil([&] { return frame->Playback().PlayTick() >= tick; }, 5000);
    }

    // Waits for `tick`, then runs `event` and gives the position around it.
    WINDOW At(int32_t tick, const std::function<void()>& event) {
        if (!WaitForTick(tick))
            return {-1, -1};
        WINDOW w;
        w.before = frame->Playback().PlayTick();
        event();
        w.after = frame->Playback().PlayTick();
        return w;
    }

    void Midi(bool on, int note) {
        MIDI_KEY_EVENT event;
        event.on = on;
        event.note = static_cast<uint8_t>(note);
        event.velocity = on ? uint8_t{100} : uint8_t{0};
        frame->MidiKeyboard().Play(event);
    }

    std::vector<SEEN> Recorded() const {
        std::vector<SEEN> seen;
        frame->Edit().Project().tracks[0].ForEachNote([&](const CNote* n) {
            if (n->volume != 0)
                seen.push_back({n->position, n->length, n->key, n->volume});
        });
        std::sort(seen.begin(), seen.end());
        return seen;
    }

    int32_t Snap(int32_t tick) const {
        return NearestSnapTick(frame->Edit().Project().data.beats, kFit, tick);
    }

    // The note pressed in `down` and let go in `up` lies on the grid where the recorder saw
    // them (both readings lie within the windows).
    bool Matches(const SEEN& note, WINDOW down, WINDOW up) const {
        const std::set<int32_t> starts{Snap(down.before), Snap(down.after)};
        bool length = false;
        for (const int32_t from : {down.before, down.after})
            for (const int32_t to : {up.before, up.after})
                length = length || note.length == FitLength(kFit, int64_t{to} - from);
        return starts.count(note.position) == 1 && note.position % kFit == 0 && length;
    }

    void Arm() {
        QVERIFY(frame->RunCommand(cmd::kRecord));
        QVERIFY(frame->Recorder().IsArmed());
        QVERIFY(frame->Action(cmd::kRecord)->isChecked());
    }

    CPianoRollWnd& Roll() { return frame->PianoRollWnd(); }

    // What the song's stream played; the silent device comes back after each test.
    QTemporaryDir m_captureDir;
    QString m_capture;

private slots:
    void init() {
        m_capture = m_captureDir.filePath("capture.wav");
        qputenv("TSQ_AUDIO_DEVICE", ("capture:" + m_capture).toUtf8());
        QVERIFY(OpenFrame());
        frame->NoteDefaults().SetFit(kFit);
        frame->NoteDefaults().SetVolume(150);
        Roll().SetCaret(0, kC);
        Roll().setFocus();
    }

    void cleanup() {
        CloseFrame();
        qputenv("TSQ_AUDIO_DEVICE", "null");
    }

    void aTakeLandsOnTheGridAsOneUndoStep() {
        SetEmptySong(4, false);
        Arm();
        const int depth = frame->Edit().UndoRing().UndoDepth();
        QVERIFY(Play());
        QVERIFY(!Roll().StepInput().IsOn());
        const WINDOW zDown = At(1000, [&] { QTest::keyPress(&Roll(), Qt::Key_Z); });
        const WINDOW mDown = At(1300, [&] { Midi(true, 60); });
        const WINDOW zUp = At(1980, [&] { QTest::keyRelease(&Roll(), Qt::Key_Z); });
        const WINDOW mUp = At(2500, [&] { Midi(false, 60); });
        QVERIFY(zUp.after >= 0 && mUp.after >= 0);
        QVERIFY(frame->RunCommand(cmd::kStop));
        QVERIFY(QFileInfo(m_capture).size() > 44);

        const std::vector<SEEN> notes = Recorded();
        QCOMPARE(notes.size(), size_t(2));
        const SEEN z = notes[0].key == kC ? notes[0] : notes[1];
        const SEEN m = notes[0].key == kC ? notes[1] : notes[0];
        QCOMPARE(z.key, kC);
        QCOMPARE(z.volume, 150);
        QVERIFY2(Matches(z, zDown, zUp), qPrintable(QString::number(z.position)));
        QCOMPARE(m.key, kMiddleC);
        QCOMPARE(m.volume, kMidiVolume);
        QVERIFY2(Matches(m, mDown, mUp), qPrintable(QString::number(m.position)));
        // The caret stays where it was: the keys went to the take, not to step input.
        QCOMPARE(Roll().CaretPosition(), 0);
        QCOMPARE(frame->Edit().UndoRing().UndoDepth(), depth + 1);
        QVERIFY(frame->RunCommand(cmd::kUndo));
        QVERIFY(Recorded().empty());
    }

    void aKeyHeldWhenPlaybackStopsEndsThere() {
        SetEmptySong(4, false);
        Arm();
        QVERIFY(Play());
        const WINDOW down = At(500, [&] { Midi(true, 60); });
        const WINDOW stop = At(1500, [&] { QVERIFY(frame->RunCommand(cmd::kStop)); });
        Midi(false, 60);
        const std::vector<SEEN> notes = Recorded();
        QCOMPARE(notes.size(), size_t(1));
        QVERIFY(Matches(notes[0], down, {stop.before, stop.before}));
    }

    void everyPassOfTheLoopAddsItsNotes() {
        SetEmptySong(2, true);
        Arm();
        const int depth = frame->Edit().UndoRing().UndoDepth();
        QVERIFY(Play());
        const WINDOW aDown = At(500, [&] { Midi(true, 60); });
        const WINDOW aUp = At(1000, [&] { Midi(false, 60); });
        // Held across the loop's end: the note ends at the end of the pass.
        const WINDOW heldDown = At(1500, [&] { Midi(true, 64); });
        QVERIFY(RunUntil([&] { return frame->Playback().PlayTick() < 1000; }, 5000));
        const WINDOW heldUp = At(200, [&] { Midi(false, 64); });
        const WINDOW bDown = At(500, [&] { Midi(true, 62); });
        const WINDOW bUp = At(1000, [&] { Midi(false, 62); });
        QVERIFY(heldUp.after >= 0 && bUp.after >= 0);
        QVERIFY(frame->RunCommand(cmd::kStop));

        const std::vector<SEEN> notes = Recorded();
        QCOMPARE(notes.size(), size_t(3));
        auto find = [&](int key) {
            return *std::find_if(notes.begin(), notes.end(),
                                 [key](const SEEN& n) { return n.key == key; });
        };
        QVERIFY(Matches(find(kMiddleC), aDown, aUp));
        QVERIFY(Matches(find(kMiddleC - 2), bDown, bUp));
        const WINDOW loopEnd{2 * kTicksPerSecond, 2 * kTicksPerSecond};
        QVERIFY(Matches(find(kMiddleC - 4), heldDown, loopEnd));
        QCOMPARE(frame->Edit().UndoRing().UndoDepth(), depth + 1);
    }

    void withPlaybackStoppedTheKeysWorkAsBefore() {
        SetEmptySong(4, false);
        Arm();
        // Step input off: the piano roll's own key (Z is none) does nothing to the song.
        QTest::keyClick(&Roll(), Qt::Key_Z);
        QVERIFY(Recorded().empty());
        Roll().StepInput().SetOn(true);
        QTest::keyClick(&Roll(), Qt::Key_Z);
        QCOMPARE(Recorded(), (std::vector<SEEN>{{0, frame->NoteDefaults().Length(), kC, 150}}));
        QCOMPARE(Roll().CaretPosition(), frame->NoteDefaults().Length());
        QVERIFY(frame->RunCommand(cmd::kRecord));
        QVERIFY(!frame->Action(cmd::kRecord)->isChecked());
    }
};

std::unique_ptr<QObject> MakeRecordTest() {
    return std::make_unique<RecordTest>();
}

#include "RecordTest.moc"
