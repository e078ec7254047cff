// Loading untrusted project and incremental-build files: damaged input is refused and
// leaves the open song alone; saved songs come back unchanged; saving never leaves a
// half-written file.

#include "FileBytes.h"
#include "ModelCompare.h"
#include "ModelInvariants.h"
#include "RandomProject.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/CProject.h"
#include "model/SongLimits.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

// Switches a track to another source; the records of the other kinds go back to their
// defaults, as a file keeps only the record of the source that sounds.
void UseSource(CTrackData& settings, int32_t waveform) {
    settings.waveform = waveform;
    settings.pcm = CPCM();
    settings.waveMemory = CWaveMemory();
    settings.fm = CFM();
}

// A song whose tracks use every kind of source record, with notes across buckets.
CProject VariedSong(uint32_t seed) {
    RandomSong random(seed);
    CProject p = random.Make(4, 6);
    UseSource(p.tracks[0].settings, kNoise);
    UseSource(p.tracks[1].settings, kPcm);
    p.tracks[1].settings.pcm.fileName = "音\\a.wav";
    UseSource(p.tracks[2].settings, kWaveMemory);
    p.tracks[2].settings.waveMemory.SetSize(64, 32);
    p.tracks[2].settings.waveMemory.samples[5] = -16;
    UseSource(p.tracks[3].settings, kFm);
    p.tracks[3].settings.fm.operators[1].multiple = 2.5;
    return p;
}

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A private folder under the temporary directory, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        path = fs::temp_directory_path() /
               ("tsq-model-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::create_directories(path);
    }
    ~TempFolder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
    size_t FileCount() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(path), {}));
    }

    fs::path path;

private:
    static inline int counter = 0;
};

// Limits the size of files this process may write, so that writes fail even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit saved{};
    void (*previousHandler)(int) = nullptr;
};

struct DamagedCase {
    const char* what;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> WithSong(void (*change)(SongFields&)) {
    SongFields song;
    change(song);
    return CurrentFile(song, {DefaultTrackSettings(u"t", 0).endNotes()});
}

std::vector<uint8_t> WithTrack(const FileBytes& track) {
    return CurrentFile(SongFields(), {track});
}

std::vector<DamagedCase> DamagedTimeLists() {
    return {
        {"no tempo", WithSong([](SongFields& s) { s.tempos.clear(); })},
        {"tempo list after 0", WithSong([](SongFields& s) {
             s.tempos = {{10, 120}};
         })},
        {"tempos unsorted", WithSong([](SongFields& s) {
             s.tempos = {{0, 120}, {960, 90}, {480, 60}};
         })},
        {"tempos at one tick", WithSong([](SongFields& s) {
             s.tempos = {{0, 120}, {0, 90}};
         })},
        {"tempos far apart", WithSong([](SongFields& s) {
             s.tempos = {{0, 120}, {INT32_MAX, 90}, {INT32_MIN, 60}};
         })},
        {"tempo 0", WithSong([](SongFields& s) {
             s.tempos = {{0, 0.0}};
         })},
        {"tempo below 0", WithSong([](SongFields& s) {
             s.tempos = {{0, 120}, {10, -60}};
         })},
        {"tempo NaN", WithSong([](SongFields& s) {
             s.tempos = {{0, std::numeric_limits<double>::quiet_NaN()}};
         })},
        {"tempo infinite", WithSong([](SongFields& s) {
             s.tempos = {{0, 120}, {10, std::numeric_limits<double>::infinity()}};
         })},
        {"no volume", WithSong([](SongFields& s) { s.volumes.clear(); })},
        {"volume list after 0", WithSong([](SongFields& s) {
             s.volumes = {{5, 1}};
         })},
        {"volumes unsorted", WithSong([](SongFields& s) {
             s.volumes = {{0, 1}, {9, 1}, {8, 1}};
         })},
        {"no signature", WithSong([](SongFields& s) { s.beats.clear(); })},
        {"signature after measure 0", WithSong([](SongFields& s) {
             s.beats = {{{1, 4, 4}}};
         })},
        {"beat 0", WithSong([](SongFields& s) {
             s.beats = {{{0, 0, 4}}};
         })},
        {"base beat 0", WithSong([](SongFields& s) {
             s.beats = {{{0, 4, 0}}};
         })},
        {"beat below 0", WithSong([](SongFields& s) {
             s.beats = {{{0, 4, 4}}, {{2, -3, 4}}};
         })},
        {"base beat below 0", WithSong([](SongFields& s) {
             s.beats = {{{0, 4, -4}}};
         })},
        {"measure shorter than a tick", WithSong([](SongFields& s) {
             s.beats = {{{0, 1, 4096}}};
         })},
        {"signatures unsorted", WithSong([](SongFields& s) {
             s.beats = {{{0, 4, 4}}, {{5, 3, 4}}, {{2, 3, 4}}};
         })},
    };
}

// A complete version 1.3 song without tracks, with the given single tempo and beat.
std::vector<uint8_t> OldSong(uint16_t tempo, uint8_t beat) {
    FileBytes f;
    f.header(0x0301).line8("").u16(128).u16(tempo).u8(beat).u8(4);
    return f.u8(2).u32(44100).u8(16).u16(0).u16(0).u32(0).u32(0).u32(1).u32(0).bytes;
}

std::vector<DamagedCase> DamagedCountsAndNotes() {
    std::vector<uint8_t> song = SongFields().Bytes().bytes;
    auto header = [] { return FileBytes().header(0x0901); };
    std::vector<DamagedCase> cases = {
        {"empty", {}},
        {"header only", header().bytes},
        {"huge tempo count", header().line16(u"").u32(1).i32(0).i32(128).u32(0xFFFFFFFF).bytes},
        {"huge volume count", header().line16(u"").u32(0x10000000).i32(0).i32(128).bytes},
        {"huge track count", header().append(SongFields().Bytes()).u32(0xFFFFFFFF).bytes},
        {"missing track", CurrentFile(SongFields(), {DefaultTrackSettings(u"", 0).endNotes()})},
        {"note before 0", WithTrack(DefaultTrackSettings(u"", 0).note(-3, 10, 0, 1, 1).endNotes())},
        {"note at the lowest tick",
         WithTrack(DefaultTrackSettings(u"", 0).note(INT32_MIN, 10, 0, 1, 1).endNotes())},
        {"notes never closed", WithTrack(DefaultTrackSettings(u"", 0).note(0, 10, 0, 1, 1))},
        {"only bucket ends", WithTrack(DefaultTrackSettings(u"", 0).endBucket().endBucket())},
        {"note cut short", WithTrack(DefaultTrackSettings(u"", 0).i32(5).i32(10).u8(3))},
        {"old tempo 0", OldSong(0, 4)},
        {"old beat 0", OldSong(120, 0)},
    };
    // The track count of "missing track" claims one more track than there is.
    cases[5].bytes[24 + song.size()] = 2;
    return cases;
}

} // namespace

TEST(ProjectLoad, DamagedTimeListsAreRefusedAndTheOpenSongKept) {
    for (const DamagedCase& c : DamagedTimeLists()) {
        CProject p = VariedSong(3);
        p.modified = 1;
        const CProject before = p;
        Result r = p.LoadFromBytes(c.bytes);
        EXPECT_FALSE(r) << c.what;
        EXPECT_FALSE(r.message.empty()) << c.what;
        EXPECT_TRUE(SameSong(p, before)) << c.what;
        EXPECT_EQ(p.modified, 1) << c.what;
    }
}

TEST(ProjectLoad, ImpossibleCountsAndNoteStreamsAreRefused) {
    for (const DamagedCase& c : DamagedCountsAndNotes()) {
        CProject p = VariedSong(4);
        const CProject before = p;
        EXPECT_FALSE(p.LoadFromBytes(c.bytes)) << c.what;
        EXPECT_TRUE(SameSong(p, before)) << c.what;
    }
}

TEST(ProjectLoad, OldSongWithSoundValuesLoads) {
    CProject p;
    ASSERT_TRUE(p.LoadFromBytes(OldSong(120, 3)));
    EXPECT_EQ(p.data.beats[0].beat, 3);
    EXPECT_TRUE(p.tracks.empty());
}

TEST(ProjectLoad, HugeWaveTableCountIsRefused) {
    FileBytes track;
    track.line16(u"").u8(0).u32(0).u8(6).u8(0).u16(0).i16(0).u16(128).i16(0).i16(0);
    track.u32(0x40000000).i32(16).i32(1).i32(2); // claims a billion samples
    CProject p;
    EXPECT_FALSE(p.LoadFromBytes(CurrentFile(SongFields(), {track})));
}

TEST(ProjectLoad, DistantNotesCannotMakeALoadExhaustMemory) {
    // Each track holds one note near the last tick, which alone needs a million buckets.
    std::vector<FileBytes> tracks;
    for (int i = 0; i < 8; ++i)
        tracks.push_back(
            DefaultTrackSettings(u"", 0).note(INT32_MAX - 100, 10, 0, 1, 1).endNotes());
    CProject p;
    EXPECT_FALSE(p.LoadFromBytes(CurrentFile(SongFields(), tracks)));
    // A note half the budget away is a (strange) song that loads.
    const int32_t far = static_cast<int32_t>(songlimits::kSegmentBudget / 2) * CTrack::kBucketTicks;
    tracks.resize(1);
    tracks[0] = DefaultTrackSettings(u"", 0).note(far, 10, 0, 1, 1).endNotes();
    ASSERT_TRUE(p.LoadFromBytes(CurrentFile(SongFields(), tracks)));
    EXPECT_EQ(p.GetEndTick(), far + 10);
    EXPECT_TRUE(HoldsInvariants(p));
}

TEST(ProjectLoad, ANoteRunningPastTheLastTickIsCutThere) {
    CTrack t;
    CNote n;
    n.position = INT32_MAX - 100;
    n.length = 1000;
    t.AddNote(n);
    EXPECT_EQ(t.EndTick(), INT32_MAX);
    EXPECT_TRUE(HoldsInvariants(t));
}

TEST(ProjectLoad, EveryPrefixOfAValidFileIsRefused) {
    const std::vector<uint8_t> whole = VariedSong(5).SaveToBytes();
    CProject p = VariedSong(6);
    const CProject before = p;
    for (size_t length = 0; length < whole.size(); ++length) {
        std::vector<uint8_t> prefix(whole.begin(),
                                    whole.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_FALSE(p.LoadFromBytes(prefix)) << length << " of " << whole.size();
    }
    EXPECT_TRUE(SameSong(p, before));
    EXPECT_TRUE(p.LoadFromBytes(whole));
}

TEST(ProjectLoad, RandomSongsSurviveSaveAndLoadUnchanged) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const CProject original =
            RandomSong(seed).Make(1 + static_cast<int>(seed % 4), static_cast<int>(seed * 3));
        const std::vector<uint8_t> first = original.SaveToBytes();
        CProject loaded;
        loaded.changed = {1};
        loaded.modified = 1;
        loaded.currentTrack = 3;
        Result r = loaded.LoadFromBytes(first);
        ASSERT_TRUE(r) << seed << ": " << r.message;
        EXPECT_TRUE(SameSong(loaded, original)) << seed;
        EXPECT_TRUE(HoldsInvariants(loaded)) << seed;
        EXPECT_EQ(loaded.SaveToBytes(), first) << seed;
        EXPECT_TRUE(loaded.changed.empty());
        EXPECT_EQ(loaded.modified, 0);
        EXPECT_EQ(loaded.currentTrack, 0);
        EXPECT_EQ(loaded.lastBuildLength, original.GetLength());
        EXPECT_EQ(loaded.lastBuildFadeOut, original.data.fadeOut);
    }
}

TEST(ProjectLoad, SaveAndLoadThroughFiles) {
    TempFolder folder;
    const std::string path = folder / "song.tqp";
    const CProject song = VariedSong(8);
    ASSERT_TRUE(song.Save(path));
    EXPECT_EQ(ReadAll(path), song.SaveToBytes());
    CProject loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_TRUE(SameSong(loaded, song));
    EXPECT_EQ(folder.FileCount(), 1u) << "no temporary file is left behind";

    const CProject before = loaded;
    for (const std::string& bad : {folder / "missing.tqp", folder.path.string()}) {
        Result r = loaded.Load(bad);
        EXPECT_FALSE(r) << bad;
        EXPECT_NE(r.message.find(bad), std::string::npos) << r.message;
    }
    EXPECT_TRUE(SameSong(loaded, before));
}

TEST(ProjectLoad, FailedSaveLeavesTheOldFileUntouched) {
    TempFolder folder;
    const std::string path = folder / "song.tqp";
    CProject small;
    small.Reset();
    ASSERT_TRUE(small.Save(path));
    const std::vector<uint8_t> old = ReadAll(path);

    const CProject big = VariedSong(9);
    {
        FileSizeLimit limit(old.size() + 10);
        Result r = big.Save(path);
        EXPECT_FALSE(r);
        EXPECT_NE(r.message.find(path), std::string::npos) << r.message;
    }
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(folder.FileCount(), 1u) << "the partial temporary file is removed";

    EXPECT_FALSE(big.Save(folder / "no-such-folder/song.tqp"));
    EXPECT_FALSE(fs::exists(folder / "no-such-folder"));
    fs::create_directory(folder / "taken");
    EXPECT_FALSE(big.Save(folder / "taken"));
    EXPECT_TRUE(fs::is_directory(folder / "taken"));
    EXPECT_EQ(folder.FileCount(), 2u);
}

TEST(ProjectLoad, SavingThroughALinkReplacesTheLinkedFile) {
    TempFolder folder;
    fs::create_directory(folder / "real");
    const std::string real = folder / "real/song.tqp";
    CProject p;
    p.Reset();
    ASSERT_TRUE(p.Save(real));
    fs::create_symlink(real, folder / "link.tqp");
    p.data.name = "changed";
    ASSERT_TRUE(p.Save(folder / "link.tqp"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.tqp"));
    EXPECT_EQ(ReadAll(real), p.SaveToBytes());
}

TEST(ProjectLoad, ImportTakesProjectFilesAndRefusesOthers) {
    TempFolder folder;
    const CProject song = VariedSong(10);
    ASSERT_TRUE(song.Save(folder / "a.tqp"));
    CProject imported;
    ASSERT_TRUE(imported.Import(folder / "a.tqp"));
    EXPECT_TRUE(SameSong(imported, song));

    WriteAll(folder / "short", {'T', 'e', 's'});
    WriteAll(folder / "empty", {});
    WriteAll(folder / "text", std::vector<uint8_t>(100, 'x'));
    std::vector<uint8_t> damaged = song.SaveToBytes();
    damaged.resize(damaged.size() - 1);
    WriteAll(folder / "damaged.tqp", damaged);
    for (const char* name : {"short", "empty", "text", "damaged.tqp", "missing"}) {
        Result r = imported.Import(folder / name);
        EXPECT_FALSE(r) << name;
        EXPECT_NE(r.message.find(name), std::string::npos) << r.message;
    }
    EXPECT_TRUE(SameSong(imported, song));
}

TEST(BuildInfo, ChangeMapIsStoredWithTheShortestCount) {
    TempFolder folder;
    const std::string path = folder / "song.tqb";
    ASSERT_TRUE(CProject::SaveBuildInfo(path, CProjectModified{1, 0, 1}));
    EXPECT_EQ(ReadAll(path), FileBytes().u16(3).i32(1).i32(0).i32(1).bytes);
    CProjectModified map{7};
    ASSERT_TRUE(CProject::LoadBuildInfo(path, map));
    EXPECT_EQ(map, (CProjectModified{1, 0, 1}));

    struct Case {
        size_t size;
        std::vector<uint8_t> count;
    };
    for (const Case& c : {Case{0xFFFE, {0xFE, 0xFF}}, Case{0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0}},
                          Case{70000, {0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}}}) {
        CProjectModified big(c.size, 0);
        big.back() = 1;
        ASSERT_TRUE(CProject::SaveBuildInfo(path, big));
        const std::vector<uint8_t> bytes = ReadAll(path);
        ASSERT_EQ(bytes.size(), c.count.size() + 4 * c.size);
        EXPECT_TRUE(std::equal(c.count.begin(), c.count.end(), bytes.begin())) << c.size;
        ASSERT_TRUE(CProject::LoadBuildInfo(path, map));
        EXPECT_EQ(map, big);
    }
}

TEST(BuildInfo, LongCountEncodingsReadAndWrite) {
    CProjectModified map;
    const std::vector<uint8_t> longCount =
        FileBytes().u16(0xFFFF).u32(0xFFFFFFFF).u64(2).i32(1).i32(0).bytes;
    CArchiveReader longForm(longCount);
    map.Serialize(longForm);
    EXPECT_EQ(map, (CProjectModified{1, 0}));

    for (uint64_t count : {uint64_t{0xFFFFFFFE}, uint64_t{0xFFFFFFFF}, uint64_t{1} << 40}) {
        CArchiveWriter w;
        w.Count(count);
        FileBytes expected;
        expected.u16(0xFFFF);
        if (count < 0xFFFFFFFF)
            expected.u32(static_cast<uint32_t>(count));
        else
            expected.u32(0xFFFFFFFF).u64(count);
        EXPECT_EQ(w.Data(), expected.bytes) << count;
        CArchiveReader r(w.Data());
        EXPECT_EQ(r.Count(), count);
    }
}

TEST(BuildInfo, DamagedFilesLeaveAnEmptyMap) {
    TempFolder folder;
    const std::string path = folder / "song.tqb";
    const std::vector<std::vector<uint8_t>> damaged = {
        {},
        {3},
        FileBytes().u16(5).i32(1).i32(1).bytes,
        FileBytes().u16(0xFFFF).u16(1).bytes,
        FileBytes().u16(0xFFFF).u32(0x40000000).bytes,
        FileBytes().u16(0xFFFF).u32(0xFFFFFFFF).u64(uint64_t{1} << 62).i32(1).bytes,
        FileBytes().u16(0xFFFF).u32(0xFFFFFFFF).u32(1).bytes,
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        WriteAll(path, damaged[i]);
        CProjectModified map{1, 1};
        EXPECT_FALSE(CProject::LoadBuildInfo(path, map)) << i;
        EXPECT_TRUE(map.empty()) << i;
    }
    CProjectModified map{1};
    EXPECT_FALSE(CProject::LoadBuildInfo(folder / "missing.tqb", map));
    EXPECT_TRUE(map.empty());
    EXPECT_FALSE(CProject::SaveBuildInfo(folder / "none/x.tqb", CProjectModified{1}));
}
