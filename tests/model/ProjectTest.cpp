// The project container: new songs, length, measure insertion and deletion, the change map
// and the preparation of incremental builds.

#include "ModelCompare.h"
#include "ModelInvariants.h"
#include "RandomProject.h"

#include "model/CProject.h"

#include <gtest/gtest.h>

namespace {

CNote MakeNote(int32_t position, int32_t length) {
    CNote n;
    n.position = position;
    n.length = length;
    return n;
}

CProject NewSong() {
    CProject p;
    p.Reset();
    return p;
}

std::vector<int32_t> Positions(const CTrack& t) {
    std::vector<int32_t> result;
    t.ForEachNote([&](const CNote* n) { result.push_back(n->position); });
    std::sort(result.begin(), result.end());
    return result;
}

std::vector<int32_t> MarkedSeconds(const CProjectModified& map) {
    std::vector<int32_t> seconds;
    for (size_t i = 0; i < map.size(); ++i)
        if (map[i])
            seconds.push_back(static_cast<int32_t>(i));
    return seconds;
}

} // namespace

TEST(Project, NewSongHasTheDefaultSettingsAndOneTrack) {
    CProject p = NewSong();
    const CProjectData& d = p.data;
    EXPECT_EQ(d.name, "");
    EXPECT_EQ(d.tempos.Items(), (std::vector<TEMPO>{{0, 120.0}}));
    EXPECT_EQ(d.beats.Items(), (std::vector<BEAT>{{0, 4, 4}}));
    EXPECT_EQ(d.volumes.Items(), (std::vector<VOLUME>{{0, 128}}));
    EXPECT_EQ(d.transpose, 0);
    EXPECT_EQ(d.loopEnabled, 0);
    EXPECT_EQ(d.samplesPerSec, 44100);
    EXPECT_EQ(d.bitsPerSample, 16);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.startDummy, 1000);
    EXPECT_EQ(d.endDummy, 2000);
    EXPECT_EQ(d.fadeOut, 0);
    EXPECT_EQ(d.fadeOutType, 0);
    EXPECT_EQ(d.reductionPuchiNoise, 1);
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_EQ(p.tracks[0].settings.name, "トラック1");
    EXPECT_FALSE(p.tracks[0].HasNotes());
    EXPECT_TRUE(p.changed.empty());
    EXPECT_EQ(p.modified, 0);
    EXPECT_EQ(p.currentTrack, 0);
    EXPECT_EQ(p.lastBuildLength, 0.0);
    EXPECT_TRUE(HoldsInvariants(p));
}

TEST(Project, ResetTakesTheStoredDefaultsAndDropsTheOldSong) {
    CProject p = NewSong();
    p.InsertTrack(1);
    p.tracks[0].AddNote(MakeNote(0, 10));
    p.SetAllModified();
    p.currentTrack = 1;
    p.lastBuildLength = 12;

    CProjectData defaults;
    defaults.name = "既定";
    defaults.tempos.Assign({{0, 90.0}});
    defaults.beats.Assign({{0, 3, 4}});
    defaults.fadeOut = 3000;
    p.Reset(defaults);
    EXPECT_EQ(p.data, defaults);
    ASSERT_EQ(p.tracks.size(), 1u);
    EXPECT_FALSE(p.tracks[0].HasNotes());
    EXPECT_TRUE(p.changed.empty());
    EXPECT_EQ(p.modified, 0);
    EXPECT_EQ(p.currentTrack, 0);
    EXPECT_EQ(p.lastBuildLength, 0.0);
    EXPECT_EQ(p.lastBuildFadeOut, 3000);
}

TEST(Project, InsertTrackPlacesADefaultTrackAndMarksTheSongModified) {
    CProject p = NewSong();
    EXPECT_EQ(p.InsertTrack(1), 1);
    EXPECT_EQ(p.InsertTrack(0), 0);
    ASSERT_EQ(p.tracks.size(), 3u);
    EXPECT_EQ(p.tracks[0].settings.name, "");
    EXPECT_EQ(p.tracks[1].settings.name, "トラック1");
    EXPECT_EQ(p.modified, 1);
    p.RemoveTrack(1);
    p.RemoveTrack(7);
    EXPECT_EQ(p.tracks.size(), 2u);
    EXPECT_EQ(p.tracks[1].settings.name, "");
}

TEST(Project, EndTickAndLengthCoverEveryTrackAndTheLoop) {
    CProject p = NewSong();
    EXPECT_EQ(p.GetEndTick(), 0);
    EXPECT_EQ(p.GetLength(), 0.0);
    p.tracks[0].AddNote(MakeNote(0, 480));
    EXPECT_EQ(p.GetEndTick(), 480);
    EXPECT_DOUBLE_EQ(p.GetLength(), 0.5);

    p.data.loopEnd = 7680;
    EXPECT_EQ(p.GetEndTick(), 480) << "a loop that is off does not count";
    p.data.loopEnabled = 1;
    EXPECT_EQ(p.GetEndTick(), 7680);
    EXPECT_DOUBLE_EQ(p.GetLength(), 8.0);

    // A muted track still counts; the length integrates over tempo changes.
    p.data.loopEnabled = 0;
    p.InsertTrack(1);
    p.tracks[1].settings.mute = 1;
    p.tracks[1].AddNote(MakeNote(2000, 400));
    p.tracks[0].AddNote(MakeNote(100, 300));
    p.data.tempos.Set({1920, 60.0});
    EXPECT_EQ(p.GetEndTick(), 2400);
    EXPECT_DOUBLE_EQ(p.GetLength(), 3.0);
}

TEST(Project, InsertMeasuresShiftsNotesListsAndSignatures) {
    CProject p = NewSong();
    p.tracks[0].AddNote(MakeNote(1920, 100));
    p.tracks[0].AddNote(MakeNote(100, 1820)); // ends exactly at the insertion point
    p.data.tempos.Set({1920, 90.0});          // at the insertion point: stays
    p.data.tempos.Set({2000, 60.0});
    p.data.volumes.Set({2000, 50});
    p.data.beats.Set({3, 3, 4});
    ASSERT_TRUE(p.InsertMeasures(1, 2));
    EXPECT_EQ(Positions(p.tracks[0]), (std::vector<int32_t>{100, 5760}));
    EXPECT_EQ(p.data.tempos.Items(), (std::vector<TEMPO>{{0, 120}, {1920, 90}, {5840, 60}}));
    EXPECT_EQ(p.data.volumes.Items(), (std::vector<VOLUME>{{0, 128}, {5840, 50}}));
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 4, 4}, {5, 3, 4}}));
    EXPECT_EQ(p.modified, 1);
    EXPECT_TRUE(HoldsInvariants(p));
}

TEST(Project, InsertMeasuresUsesTheSignatureInForceAndRefusesStraddlingNotes) {
    CProject p = NewSong();
    p.data.beats.Assign({{0, 4, 4}, {1, 3, 4}});
    p.tracks[0].AddNote(MakeNote(1920, 10));
    ASSERT_TRUE(p.InsertMeasures(1, 1));
    EXPECT_EQ(Positions(p.tracks[0]), std::vector<int32_t>{3360});

    p.tracks[0].AddNote(MakeNote(3300, 100)); // straddles measure 2 at 3360
    const CProject before = p;
    EXPECT_FALSE(p.CanInsertMeasure(2));
    EXPECT_FALSE(p.InsertMeasures(2, 1));
    EXPECT_FALSE(p.InsertMeasures(2, 0));
    EXPECT_TRUE(SameSong(p, before));
    EXPECT_TRUE(p.InsertMeasures(1, 0));
    EXPECT_TRUE(SameSong(p, before));
    EXPECT_FALSE(p.InsertMeasures(-1, 1)) << "no measure before the first";
    EXPECT_FALSE(p.DeleteMeasures(-1, 1));
    EXPECT_TRUE(SameSong(p, before));
}

TEST(Project, InsertMeasuresMarksMovedNotesOfAudibleTracksOnly) {
    CProject p = NewSong(); // 120 BPM: 960 ticks a second
    p.tracks[0].AddNote(MakeNote(1920, 100));
    p.InsertTrack(1);
    p.tracks[1].settings.mute = 1;
    p.tracks[1].AddNote(MakeNote(3840, 100));
    p.tracks[1].AddNote(MakeNote(1000, 10));
    ASSERT_TRUE(p.InsertMeasures(1, 2));
    // Each inserted measure marks the note's old and new place: seconds 2, 4, then 4, 6.
    EXPECT_EQ(MarkedSeconds(p.changed), (std::vector<int32_t>{2, 4, 6}));
    EXPECT_EQ(Positions(p.tracks[1]), (std::vector<int32_t>{1000, 7680})) << "muted notes move";
}

TEST(Project, InsertingMeasuresBeforeTheLoopShiftsBothEnds) {
    CProject p = NewSong();
    p.data.loopEnabled = 1;
    p.data.loopStart = 1920;
    p.data.loopEnd = 3840;
    ASSERT_TRUE(p.InsertMeasures(1, 1));
    EXPECT_EQ(p.data.loopEnabled, 1);
    EXPECT_EQ(p.data.loopStart, 3840);
    EXPECT_EQ(p.data.loopEnd, 5760);
    // At the loop's end nothing moves; inside the loop only the end moves; at its start
    // both move.
    ASSERT_TRUE(p.InsertMeasures(3, 1));
    EXPECT_EQ(p.data.loopStart, 3840);
    EXPECT_EQ(p.data.loopEnd, 5760);
    p.data.loopEnd = 7680;
    ASSERT_TRUE(p.InsertMeasures(3, 1));
    EXPECT_EQ(p.data.loopStart, 3840);
    EXPECT_EQ(p.data.loopEnd, 9600);
    ASSERT_TRUE(p.InsertMeasures(2, 1));
    EXPECT_EQ(p.data.loopStart, 5760);
    EXPECT_EQ(p.data.loopEnd, 11520);
    EXPECT_EQ(p.data.loopEnabled, 1);
}

TEST(Project, InsertingMeasuresNearTheLastTickSaturates) {
    CProject p = NewSong();
    p.data.loopEnabled = 1;
    p.data.loopStart = INT32_MAX - 10;
    p.data.loopEnd = INT32_MAX;
    p.data.beats.Assign({{0, 4, 4}, {INT32_MAX, 3, 4}});
    p.tracks[0].AddNote(MakeNote(INT32_MAX - 100, 50));
    ASSERT_TRUE(p.InsertMeasures(0, 1));
    EXPECT_EQ(p.data.loopStart, INT32_MAX);
    EXPECT_EQ(p.data.loopEnabled, 0) << "start and end met at the last tick";
    EXPECT_TRUE(HoldsInvariants(p.tracks[0]));
}

TEST(Project, DeletingTheMeasureWithTheLoopStartKeepsTheStart) {
    struct Case {
        int32_t start, end;
        int32_t newStart, newEnd, enabled;
    };
    // Deleting measure 1 (ticks 1920..3839) of a 4/4 song.
    const Case cases[] = {
        {2000, 5000, 2000, 3080, 1}, // start inside: stays; end after: moves back
        {3000, 4000, 3000, 2080, 0}, // the end falls before the start: loop off
        {4000, 6000, 2080, 4080, 1}, // both after: both move
        {100, 1920, 100, 1920, 1},   // both before: untouched
        {100, 3840, 100, 1920, 1},
    };
    for (const Case& c : cases) {
        CProject p = NewSong();
        p.data.loopEnabled = 1;
        p.data.loopStart = c.start;
        p.data.loopEnd = c.end;
        ASSERT_TRUE(p.DeleteMeasures(1, 1));
        EXPECT_EQ(p.data.loopStart, c.newStart) << c.start << ".." << c.end;
        EXPECT_EQ(p.data.loopEnd, c.newEnd) << c.start << ".." << c.end;
        EXPECT_EQ(p.data.loopEnabled, c.enabled) << c.start << ".." << c.end;
    }
}

TEST(Project, DeleteMeasuresRemovesTheirNotesAndShiftsTheLists) {
    CProject p = NewSong();
    p.data.beats.Assign({{0, 4, 4}, {1, 3, 4}, {2, 4, 4}});
    p.data.tempos.Assign({{0, 120}, {1920, 90}, {3360, 60}});
    p.data.volumes.Assign({{0, 100}, {2000, 50}, {4000, 70}});
    for (int32_t position : {0, 1919, 1920, 3359, 3360, 4000})
        p.tracks[0].AddNote(MakeNote(position, 1));
    ASSERT_TRUE(p.DeleteMeasures(1, 1)); // the 3/4 measure, ticks 1920..3359
    EXPECT_EQ(Positions(p.tracks[0]), (std::vector<int32_t>{0, 1919, 1920, 2560}));
    EXPECT_EQ(p.data.tempos.Items(), (std::vector<TEMPO>{{0, 120}, {1920, 60}}));
    EXPECT_EQ(p.data.volumes.Items(), (std::vector<VOLUME>{{0, 100}, {2560, 70}}));
    EXPECT_EQ(p.data.beats.Items(), (std::vector<BEAT>{{0, 4, 4}, {1, 4, 4}}));
    EXPECT_TRUE(HoldsInvariants(p));
}

TEST(Project, DeleteMeasuresRefusesNotesAcrossEitherEndOfTheRange) {
    CProject p = NewSong();
    p.data.beats.Assign({{0, 4, 4}, {1, 3, 4}});
    // Two measures from 0 are checked with the first one's length: 0..3840, although the
    // measures themselves end at 3360.
    p.tracks[0].AddNote(MakeNote(3800, 100));
    EXPECT_FALSE(p.CanDeleteMeasures(0, 2));
    const CProject before = p;
    EXPECT_FALSE(p.DeleteMeasures(0, 2));
    EXPECT_TRUE(SameSong(p, before));

    p.tracks[0].RemoveAllNotes();
    p.tracks[0].AddNote(MakeNote(1900, 100)); // across the start of measure 1
    EXPECT_FALSE(p.DeleteMeasures(1, 1));
    p.InsertTrack(1);
    p.tracks[0].RemoveAllNotes();
    p.tracks[1].settings.mute = 1;
    p.tracks[1].AddNote(MakeNote(1900, 100));
    EXPECT_FALSE(p.DeleteMeasures(1, 1)) << "muted tracks count";
    EXPECT_TRUE(p.DeleteMeasures(3, 0));
}

TEST(Project, InsertingThenDeletingMeasuresRestoresTheSong) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        RandomSong random(seed);
        CProject p = random.Make(3, 40);
        const int32_t measure = random.Int(0, 20);
        const int32_t count = random.Int(1, 3);
        if (!p.CanInsertMeasure(measure))
            continue;
        const CProject before = p;
        ASSERT_TRUE(p.InsertMeasures(measure, count)) << seed;
        ASSERT_TRUE(HoldsInvariants(p)) << seed;
        ASSERT_TRUE(p.DeleteMeasures(measure, count)) << seed;
        ASSERT_TRUE(HoldsInvariants(p)) << seed;
        EXPECT_TRUE(SameSong(p, before)) << seed;
        EXPECT_EQ(p.data.loopStart, before.data.loopStart);
    }
}

TEST(Project, SetModifiedMarksTheWholeSecondsANoteCovers) {
    CProject p = NewSong(); // 960 ticks a second
    p.SetModified(MakeNote(960, 960));
    EXPECT_EQ(p.changed, (CProjectModified{0, 1, 1}));
    EXPECT_EQ(p.modified, 1);
    p.SetModified(MakeNote(100, 10));
    EXPECT_EQ(p.changed, (CProjectModified{1, 1, 1}));

    p.changed.clear();
    p.data.tempos.Set({960, 60.0}); // the second second lasts 480 ticks
    p.SetModified(MakeNote(1440, 480));
    EXPECT_EQ(MarkedSeconds(p.changed), (std::vector<int32_t>{2, 3}));
}

TEST(Project, SetAllModifiedFlagsEverySecondOfTheSong) {
    CProject p = NewSong();
    p.changed.assign(30, 0);
    p.tracks[0].AddNote(MakeNote(0, 10080)); // 10.5 s
    p.SetAllModified();
    EXPECT_EQ(p.changed, CProjectModified(11, 1));
    EXPECT_EQ(p.modified, 1);
}

TEST(Project, MergeOrsMapsAndGrowsTheTarget) {
    CProjectModified target{1, 0};
    CProject::Merge(target, CProjectModified{0, 0, 1});
    EXPECT_EQ(target, (CProjectModified{1, 0, 1}));
    CProject::Merge(target, CProjectModified{0, 1});
    EXPECT_EQ(target, (CProjectModified{1, 1, 1}));
}

TEST(Project, PrepareBuildMarksTheSecondsOfTheOldAndNewFadeOut) {
    CProject p = NewSong();
    p.tracks[0].AddNote(MakeNote(0, 10080)); // 10.5 s
    p.lastBuildLength = 5.0;
    p.lastBuildFadeOut = 0; // one second before the old end
    p.data.fadeOut = 3000;  // three seconds before the new end
    CProjectModified map;
    p.PrepareBuild(map, false);
    EXPECT_EQ(MarkedSeconds(map), (std::vector<int32_t>{4, 8, 9, 10}));
    EXPECT_DOUBLE_EQ(p.lastBuildLength, 10.5);
    EXPECT_EQ(p.lastBuildFadeOut, 3000);

    // Same length: nothing more to do, even with another fade.
    map.assign(11, 0);
    p.data.fadeOut = 1001;
    p.PrepareBuild(map, false);
    EXPECT_FALSE(map.AnySet());

    // 1001 ms reach into a second second.
    p.tracks[0].AddNote(MakeNote(0, 12000)); // 12.5 s
    p.PrepareBuild(map, false);
    EXPECT_EQ(MarkedSeconds(map), (std::vector<int32_t>{9, 10, 11, 12}));

    // A full build flags what the map holds and does not grow it.
    map.assign(3, 0);
    p.PrepareBuild(map, true);
    EXPECT_EQ(map, CProjectModified(3, 1));

    // An empty song marks nothing below second 0.
    CProject empty = NewSong();
    empty.lastBuildLength = 0.5;
    CProjectModified none;
    empty.PrepareBuild(none, false);
    EXPECT_EQ(MarkedSeconds(none), std::vector<int32_t>{0});
}

TEST(Project, CopyIsDeepAndCarriesTheBookkeeping) {
    RandomSong random(7);
    CProject original = random.Make(2, 30);
    original.data.tempos.Set({0, 100.0});
    original.tracks[1].SelectNote(nullptr, true);
    original.changed = {0, 1};
    original.modified = 1;
    original.currentTrack = 1;
    original.lastBuildLength = 3.5;
    original.lastBuildFadeOut = 200;

    CProject copy = original;
    EXPECT_TRUE(SameSong(copy, original, true));
    EXPECT_EQ(copy.changed, original.changed);
    EXPECT_EQ(copy.currentTrack, 1);
    EXPECT_EQ(copy.lastBuildLength, 3.5);
    EXPECT_EQ(copy.lastBuildFadeOut, 200);
    EXPECT_TRUE(HoldsInvariants(copy));

    copy.tracks[1].RemoveAllNotes();
    copy.data.tempos.Set({0, 77.0});
    EXPECT_TRUE(HoldsInvariants(original));
    EXPECT_EQ(original.tracks[1].Selection().size(), 30u);
    EXPECT_NE(original.data.tempos[0].tempo, 77.0);

    copy = original;
    copy = *&copy;
    EXPECT_TRUE(SameSong(copy, original, true));
}
