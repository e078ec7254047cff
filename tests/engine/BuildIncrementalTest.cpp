// Incremental builds: which seconds a build renders, what it leaves alone, and that the
// result never depends on how the work was split.

#include "BuildTestSupport.h"

#include "engine/internal/BuildLayout.h"

#include <algorithm>

using namespace buildtest;

namespace {

BuildLayout LayoutOf(const CProject& p) {
    BuildLayout l;
    EXPECT_TRUE(MakeBuildLayout(p, l));
    return l;
}

void Poke(const std::string& path, uint64_t offset, size_t count, uint8_t value) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(std::streamoff(offset));
    const std::vector<char> bytes(count, char(value));
    f.write(bytes.data(), std::streamsize(count));
}

// True when a and b differ only inside [from, to).
bool DifferOnlyIn(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t from,
                  size_t to) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && (i < from || i >= to))
            return false;
    return true;
}

} // namespace

TEST(BuildIncremental, NothingFlaggedLeavesTheFileAloneAndShowsNothing) {
    CProject p = BusySong(4);
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    ASSERT_TRUE(FullBuild(p, wav));
    const auto before = ReadBytes(wav);
    const auto time = std::filesystem::last_write_time(wav);

    CProjectModified map(4, 0);
    Built b = BuildSong(p, wav, map, false);
    EXPECT_EQ(b.outcome.status, BuildStatus::Complete);
    EXPECT_EQ(b.outcome.secondsRendered, 0);
    EXPECT_FALSE(b.observer.AnythingShown());
    EXPECT_EQ(b.observer.done.size(), 1u);
    EXPECT_EQ(ReadBytes(wav), before);
    EXPECT_EQ(std::filesystem::last_write_time(wav), time);
}

TEST(BuildIncremental, OnlyFlaggedSecondsAreWritten) {
    // [GIVEN] a full build whose seconds 1 and 3 were then overwritten by a marker
    CProject p = BusySong(5);
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    ASSERT_TRUE(FullBuild(p, wav));
    const BuildLayout l = LayoutOf(p);
    for (int32_t s : {1, 3})
        Poke(wav, l.SecondOffset(s), size_t(l.BytesPerSecond()), 0x55);
    const auto poisoned = ReadBytes(wav);

    // [WHEN] only second 3 is flagged
    CProjectModified map{0, 0, 0, 1, 0};
    Built b = BuildSong(p, wav, map, false);
    ASSERT_TRUE(b.outcome) << b.outcome.message;

    // [THEN] second 3 is rendered again, second 1 keeps the marker, the rest is unchanged
    const auto after = ReadBytes(wav);
    const size_t from = size_t(l.SecondOffset(3));
    const size_t to = size_t(l.SecondOffset(4));
    EXPECT_TRUE(DifferOnlyIn(poisoned, after, from, to));
    EXPECT_NE(std::vector<uint8_t>(after.begin() + long(from), after.begin() + long(to)),
              std::vector<uint8_t>(to - from, 0x55));
    EXPECT_EQ(after[size_t(l.SecondOffset(1))], 0x55);
    EXPECT_EQ(map, (CProjectModified{0, 0, 0, 0, 0}));
    EXPECT_EQ(b.outcome.secondsRendered, 1);
    EXPECT_EQ(b.observer.progress.back().secondsTotal, 1);
    EXPECT_EQ(b.observer.Steps(), 1);
}

TEST(BuildIncremental, ProgressIsReportedInTheDocumentedOrder) {
    CProject p = BusySong(3);
    TempDir dir;
    CProjectModified map;
    Built b = BuildSong(p, dir.File("song.wav"), map, true);
    ASSERT_TRUE(b.outcome);
    const RecordingObserver& o = b.observer;
    // Loading, rendering with nothing done, then seconds done with an estimate.
    ASSERT_GE(o.progress.size(), 3u);
    EXPECT_EQ(o.progress[0].phase, BuildPhase::LoadingSamples);
    EXPECT_EQ(o.progress[0].secondsTotal, 3);
    EXPECT_EQ(o.progress[1].phase, BuildPhase::Rendering);
    EXPECT_EQ(o.progress[1].secondsDone, 0);
    EXPECT_EQ(o.progress[1].secondsLeft, -1);
    for (size_t i = 2; i < o.progress.size(); ++i) {
        EXPECT_EQ(o.progress[i].phase, BuildPhase::Rendering);
        EXPECT_GT(o.progress[i].secondsDone, o.progress[i - 1].secondsDone);
        EXPECT_GE(o.progress[i].secondsLeft, 0);
        EXPECT_EQ(o.progress[i].secondsTotal, 3);
    }
    EXPECT_EQ(o.Steps(), 3);
    EXPECT_EQ(o.progress.back().secondsLeft, 0) << "nothing is left once every second is done";
    ASSERT_EQ(o.done.size(), 1u);
    EXPECT_EQ(o.done[0].status, BuildStatus::Complete);
    EXPECT_EQ(o.done[0].secondsRendered, 3);
}

TEST(BuildIncremental, DeletedWaveMakesTheNextBuildFull) {
    CProject p = BusySong(4);
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    ASSERT_TRUE(FullBuild(p, wav));
    const auto full = ReadBytes(wav);
    std::filesystem::remove(wav);

    CProjectModified map; // nothing known to be stale
    Built b = BuildSong(p, wav, map, false);
    ASSERT_TRUE(b.outcome);
    EXPECT_EQ(b.outcome.secondsRendered, 4);
    EXPECT_EQ(ReadBytes(wav), full);
}

TEST(BuildIncremental, ThreadCountDoesNotChangeTheResult) {
    CProject p = BusySong(9, 11025, 16, 2);
    p.tracks[0].settings.pan = 100;
    TempDir dir;
    ASSERT_TRUE(FullBuild(p, dir.File("one.wav"), 1));
    ASSERT_TRUE(FullBuild(p, dir.File("four.wav"), 4));
    const auto one = ReadBytes(dir.File("one.wav"));
    EXPECT_EQ(one, ReadBytes(dir.File("four.wav")));
    EXPECT_EQ(CheckValidWave(one), LayoutOf(p).dataSize);
}

TEST(BuildIncremental, IncrementalBuildAfterAnEditEqualsAFullRebuild) {
    // [GIVEN] a built song
    CProject p = BusySong(6);
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    CProjectModified unbuilt;
    ASSERT_TRUE(BuildSong(p, wav, unbuilt, true).outcome);

    // [WHEN] a note moves from second 2 to second 4 and both extents are marked
    const CNote* note = p.tracks[0].Notes()[2];
    p.changed.clear();
    p.SetModified(*note);
    CNote moved = *note;
    moved.position += 2 * kTicksPerSecond;
    moved.key = 30;
    p.SetModified(*p.tracks[0].ReplaceNote(note, moved));
    unbuilt.Merge(p.changed);
    p.PrepareBuild(unbuilt, false);
    Built b = BuildSong(p, wav, unbuilt, false, 3);
    ASSERT_TRUE(b.outcome);
    EXPECT_EQ(b.outcome.secondsRendered, 2);

    // [THEN] the file equals a fresh full build of the edited song
    ASSERT_TRUE(FullBuild(p, dir.File("fresh.wav")));
    EXPECT_EQ(ReadBytes(wav), ReadBytes(dir.File("fresh.wav")));
}

TEST(BuildIncremental, LongerSongRendersTheSecondsTheOldFileNeverHeld) {
    // [GIVEN] a 3-second song built with the loop chunk after its data
    CProject p = BusySong(3);
    p.data.loopEnabled = 1;
    p.data.loopEnd = 1920;
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    ASSERT_TRUE(FullBuild(p, wav));

    // [WHEN] a note at 5 s makes it 6 s long and only that note is marked
    AddNote(p, 0, 5.25, 0.5);
    p.changed.clear();
    p.SetModified(*p.tracks[0].Notes().back());
    CProjectModified unbuilt = p.changed;
    Built b = BuildSong(p, wav, unbuilt, false);
    ASSERT_TRUE(b.outcome);

    // [THEN] seconds 2 to 4, which the old song (2.75 s) did not fill, are rendered too:
    // they held its trailing silence and its loop chunk
    EXPECT_EQ(b.outcome.secondsRendered, 4);
    ASSERT_TRUE(FullBuild(p, dir.File("fresh.wav")));
    EXPECT_EQ(ReadBytes(wav), ReadBytes(dir.File("fresh.wav")));
}

TEST(BuildIncremental, FileThatIsNoEarlierBuildIsRenderedWhole) {
    const std::vector<std::vector<uint8_t>> strangers = {
        std::vector<uint8_t>(10, 'x'),
        std::vector<uint8_t>(100000, 0),
    };
    for (const auto& stranger : strangers) {
        CProject p = BusySong(3);
        TempDir dir;
        const std::string wav = dir.File("song.wav");
        std::ofstream(wav, std::ios::binary)
            .write(reinterpret_cast<const char*>(stranger.data()),
                   std::streamsize(stranger.size()));
        CProjectModified map(3, 0);
        Built b = BuildSong(p, wav, map, false);
        ASSERT_TRUE(b.outcome);
        EXPECT_EQ(b.outcome.secondsRendered, 3);
        ASSERT_TRUE(FullBuild(p, dir.File("fresh.wav")));
        EXPECT_EQ(ReadBytes(wav), ReadBytes(dir.File("fresh.wav")));
    }
    // An earlier build in another format is not reused either.
    CProject p = BusySong(3);
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    ASSERT_TRUE(FullBuild(p, wav));
    p.data.bitsPerSample = 24;
    CProjectModified map(3, 0);
    Built b = BuildSong(p, wav, map, false);
    EXPECT_EQ(b.outcome.secondsRendered, 3);
}

TEST(BuildIncremental, SongWithoutNotesStillLeavesAPlayableFile) {
    CProject p = Song(2, 8000, 8, 100, 100);
    TempDir dir;
    const std::string wav = dir.File("empty.wav");
    CProjectModified map;
    Built b = BuildSong(p, wav, map, false);
    ASSERT_TRUE(b.outcome);
    const auto bytes = ReadBytes(wav);
    EXPECT_EQ(CheckValidWave(bytes), 2u * 800 * 2);
    EXPECT_TRUE(std::all_of(bytes.begin() + 44, bytes.end(), [](uint8_t v) { return v == 0x80; }));
}

TEST(BuildIncremental, FlagsBeyondTheSongAreKept) {
    CProject p = BusySong(2);
    TempDir dir;
    CProjectModified map{1, 1, 1, 1};
    ASSERT_TRUE(BuildSong(p, dir.File("s.wav"), map, false).outcome);
    EXPECT_EQ(map, (CProjectModified{0, 0, 1, 1}));
}

TEST(BuildIncremental, ThreadSettingIsLimitedToOneToThirtyTwo) {
    EXPECT_EQ(CBuild::ClampThreadCount(0), 1);
    EXPECT_EQ(CBuild::ClampThreadCount(-7), 1);
    EXPECT_EQ(CBuild::ClampThreadCount(5), 5);
    EXPECT_EQ(CBuild::ClampThreadCount(33), 32);
    EXPECT_EQ(CBuild::ClampThreadCount(int64_t{1} << 40), 32);
    EXPECT_GE(CBuild::DefaultThreadCount(), 1);
    EXPECT_LE(CBuild::DefaultThreadCount(), 32);
    // A damaged setting still builds.
    CProject p = BusySong(2);
    TempDir dir;
    FakeSampleLoader loader;
    RecordingObserver observer;
    CProjectModified map;
    CBuild build(observer, loader, 1000000, *observer.stop);
    EXPECT_TRUE(build.Build(dir.File("s.wav"), p, map, true));
}
