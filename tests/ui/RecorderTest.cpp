// The recorder against a clock the test moves: where notes land on the grid (odd measures
// included), how held keys end at a stop, a seek and the loop's wrap, that a take is one
// undo step unless an undo comes between its notes, and what it ignores.

#include "EditTestHooks.h"

#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/CRecorder.h"
#include "ui/NoteSnap.h"

#include <QTest>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

struct SEEN {
    int32_t position;
    int32_t length;
    int key;
    int volume;
    bool operator==(const SEEN&) const = default;
};

struct Rig {
    CEditController edit;
    CNoteDefaults defaults;
    bool playing = true;
    int32_t tick = 0;
    std::optional<std::pair<int32_t, int32_t>> region;
    CRecorder recorder{
        edit,
        defaults,
        {[this] { return playing; }, [this] { return tick; }, [this] { return region; }}};

    Rig() {
        SongOf(edit).Reset();
        defaults.SetFit(240);
        recorder.SetArmed(true);
        recorder.Started(0);
    }
    void Down(int source, int row, int32_t at, int volume = 255) {
        tick = at;
        recorder.KeyDown(source, row, volume);
    }
    int Up(int source, int32_t at) {
        tick = at;
        return recorder.KeyUp(source);
    }
    std::vector<SEEN> Notes() const {
        std::vector<SEEN> seen;
        edit.Project().tracks[0].ForEachNote([&](const CNote* n) {
            seen.push_back({n->position, n->length, n->key, n->volume});
        });
        std::sort(seen.begin(), seen.end(), [](const SEEN& a, const SEEN& b) {
            return std::tie(a.position, a.key) < std::tie(b.position, b.key);
        });
        return seen;
    }
};

} // namespace

class RecorderTest : public QObject {
    Q_OBJECT
private slots:
    void nearestGridPoint_data() {
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("fit");
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("snapped");
        QTest::newRow("below half a unit") << 4 << 240 << 119 << 0;
        QTest::newRow("half a unit rounds up") << 4 << 240 << 120 << 240;
        QTest::newRow("on the grid") << 4 << 480 << 960 << 960;
        // 3/8: measures of 720 ticks; with a half note grid 0 and the bar line 720 are
        // the points, so 500 goes to the bar line, not to 960.
        QTest::newRow("odd measure, bar line nearer") << 3 << 960 << 500 << 720;
        QTest::newRow("odd measure, grid point nearer") << 3 << 960 << 300 << 0;
        QTest::newRow("second odd measure") << 3 << 480 << 720 + 250 << 720 + 480;
        // The last measure is cut short by the end of the ticks.
        QTest::newRow("the largest tick") << 4 << 240 << INT32_MAX << INT32_MAX;
        QTest::newRow("before the largest tick") << 4 << 240 << INT32_MAX - 100 << INT32_MAX - 127;
        QTest::newRow("negative") << 4 << 240 << -500 << 0;
    }
    void nearestGridPoint() {
        QFETCH(int, numerator);
        QFETCH(int, fit);
        QFETCH(int, tick);
        QFETCH(int, snapped);
        CProject song;
        song.Reset();
        if (numerator == 3) {
            BEAT beat = song.data.beats[0];
            beat.beat = 3;
            beat.baseBeat = 8;
            song.data.beats.SetAt(0, beat);
        }
        QCOMPARE(NearestSnapTick(song.data.beats, fit, tick), snapped);
    }

    void lengthInWholeUnits_data() {
        QTest::addColumn<int>("fit");
        QTest::addColumn<qint64>("ticks");
        QTest::addColumn<int>("length");
        QTest::newRow("a tap is one unit") << 240 << qint64{3} << 240;
        QTest::newRow("negative is one unit") << 240 << qint64{-500} << 240;
        QTest::newRow("rounds down") << 240 << qint64{359} << 240;
        QTest::newRow("rounds up") << 240 << qint64{360} << 480;
        QTest::newRow("fit below one") << 0 << qint64{7} << 7;
        QTest::newRow("clamped") << 960 << qint64{INT64_C(1) << 40} << INT32_MAX;
    }
    void lengthInWholeUnits() {
        QFETCH(int, fit);
        QFETCH(qint64, ticks);
        QFETCH(int, length);
        QCOMPARE(FitLength(fit, ticks), length);
    }

    void notesEnterAsTheirKeysComeUpInOneStep() {
        Rig rig;
        const int depth = rig.edit.UndoRing().UndoDepth();
        rig.Down(1, 40, 250, 200);
        rig.Down(2, 44, 490);
        QCOMPARE(rig.Up(1, 700), 40);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{240, 480, 40, 200}}));
        QCOMPARE(rig.Up(2, 800), 44);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{240, 480, 40, 200}, {480, 240, 44, 255}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), depth + 1);
        QCOMPARE(int(rig.edit.Project().tracks[0].Selection().size()), 2);
        // A second press of a held key and the release of a key never pressed change nothing.
        rig.Down(3, 50, 900);
        rig.Down(3, 51, 950);
        QCOMPARE(rig.Up(4, 1000), -1);
        QCOMPARE(rig.Up(3, 1200), 50);
        QCOMPARE(rig.Notes().back(), (SEEN{960, 240, 50, 255}));
    }

    void anUndoBetweenNotesStartsANewStep() {
        Rig rig;
        const int depth = rig.edit.UndoRing().UndoDepth();
        rig.Down(1, 40, 0);
        rig.Up(1, 240);
        rig.edit.Undo();
        rig.Down(1, 41, 480);
        rig.Up(1, 720);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{480, 240, 41, 255}}));
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), depth + 1);
        rig.recorder.Stopping(800);
        rig.recorder.Started(0);
        rig.Down(1, 42, 0);
        rig.Up(1, 240);
        QCOMPARE(rig.edit.UndoRing().UndoDepth(), depth + 2);
    }

    void heldKeysEndAtStopSeekAndWrap_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("length");
        QTest::newRow("stop") << 0 << 960;
        QTest::newRow("seek") << 1 << 960;
        QTest::newRow("wrap at the song's loop end") << 2 << 1440;
        QTest::newRow("wrap of a loop the song does not know") << 3 << 960;
        // A played stretch loops instead of the song's own loop, so its end counts.
        QTest::newRow("wrap at a played stretch's end") << 4 << 1200;
    }
    void heldKeysEndAtStopSeekAndWrap() {
        QFETCH(int, how);
        QFETCH(int, length);
        Rig rig;
        SongOf(rig.edit).data.loopEnabled = how >= 2 && how != 3 ? 1 : 0;
        if (how == 4)
            rig.region = std::pair{0, 1680};
        SongOf(rig.edit).data.loopStart = 0;
        SongOf(rig.edit).data.loopEnd = 1920;
        rig.Down(1, 40, 480);
        rig.tick = 1440;
        rig.recorder.Follow(1440);
        switch (how) {
        case 0:
            rig.playing = false;
            rig.recorder.Stopping(1440);
            break;
        case 1:
            rig.recorder.Seeking(1440);
            break;
        default:
            rig.recorder.Follow(100);
            break;
        }
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{480, length, 40, 255}}));
        // The key still sounds until it comes up, and its release adds nothing.
        QCOMPARE(rig.Up(1, 300), 40);
        QCOMPARE(rig.Notes().size(), size_t(1));
    }

    void aSmallStepBackIsNoWrap() {
        Rig rig;
        rig.Down(1, 40, 480);
        rig.recorder.Follow(1000);
        rig.recorder.Follow(997);
        QVERIFY(rig.Notes().empty());
        QCOMPARE(rig.Up(1, 1000), 40);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{480, 480, 40, 255}}));
    }

    void nothingIsRecordedUnlessArmedAndPlaying() {
        Rig rig;
        rig.recorder.SetArmed(false);
        QVERIFY(!rig.recorder.IsTaking());
        rig.Down(1, 40, 0);
        QCOMPARE(rig.Up(1, 480), -1);
        rig.recorder.SetArmed(true);
        rig.playing = false;
        QVERIFY(!rig.recorder.IsTaking());
        rig.Down(1, 40, 0);
        QCOMPARE(rig.Up(1, 480), -1);
        rig.playing = true;
        rig.Down(1, -1, 0);
        rig.Down(2, 96, 0);
        QVERIFY(!rig.recorder.ReleaseAll());
        QVERIFY(rig.Notes().empty());
    }

    void disarmingWhilePlayingEndsTheHeldKeys() {
        Rig rig;
        rig.Down(1, 40, 0);
        rig.tick = 700;
        rig.recorder.SetArmed(false);
        QCOMPARE(rig.Notes(), (std::vector<SEEN>{{0, 720, 40, 255}}));
        QCOMPARE(rig.Up(1, 900), 40);
        QCOMPARE(rig.Notes().size(), size_t(1));
    }

    void aKeyOfATrackNoLongerCurrentIsDropped() {
        Rig rig;
        SongOf(rig.edit).tracks.emplace_back();
        rig.Down(1, 40, 0);
        rig.edit.SetCurrentTrack(1);
        rig.Up(1, 480);
        QVERIFY(rig.Notes().empty());
        QVERIFY(!rig.edit.Project().tracks[1].HasNotes());
    }
};

std::unique_ptr<QObject> MakeRecorderTest() {
    return std::make_unique<RecorderTest>();
}

#include "RecorderTest.moc"
