// Live playback's side of the build: the seconds nearest the play position go first, and
// every written second is announced with its bytes, which are already in the file then.

#include "BuildTestSupport.h"

#include "engine/internal/BuildLayout.h"

#include <algorithm>

using namespace buildtest;

namespace {

struct WRITTEN_SECOND {
    int32_t second;
    uint64_t firstByte;
    uint64_t endByte;
    std::vector<uint8_t> bytes; // what the file held there when the event came
};

class WrittenRecorder : public RecordingObserver {
public:
    std::string path;
    std::vector<WRITTEN_SECOND> written;

    void SecondWritten(int32_t second, uint64_t firstByte, uint64_t endByte) override {
        EXPECT_TRUE(done.empty()) << "written seconds come before Done";
        std::ifstream in(path, std::ios::binary);
        in.seekg(std::streamoff(firstByte));
        std::vector<uint8_t> bytes(size_t(endByte - firstByte));
        in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        written.push_back({second, firstByte, endByte, std::move(bytes)});
    }
    std::vector<int32_t> Order() const {
        std::vector<int32_t> order;
        for (const WRITTEN_SECOND& w : written)
            order.push_back(w.second);
        return order;
    }
};

WrittenRecorder BuildFrom(CProject& p, const std::string& path, CProjectModified& map, bool rebuild,
                          int32_t origin, int threads) {
    WrittenRecorder recorder;
    recorder.path = path;
    FakeSampleLoader loader;
    const std::atomic<int32_t> start{origin};
    CBuild build(recorder, loader, threads, *recorder.stop);
    build.SetOrigin(&start);
    EXPECT_TRUE(build.Build(path, p, map, rebuild));
    return recorder;
}

} // namespace

TEST(BuildOrigin, OneWorkerClaimsFromTheOriginThenWrapsToTheStart) {
    struct CASE {
        int32_t origin;
        std::vector<int32_t> order;
    };
    const CASE cases[] = {
        {5, {5, 6, 7, 0, 1, 2, 3, 4}},
        {0, {0, 1, 2, 3, 4, 5, 6, 7}},
        {-3, {0, 1, 2, 3, 4, 5, 6, 7}},   // before the song: from its start
        {1000, {0, 1, 2, 3, 4, 5, 6, 7}}, // past its end: everything lies behind
    };
    TempDir dir;
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.origin);
        CProject p = BusySong(8);
        CProjectModified map;
        const WrittenRecorder r = BuildFrom(p, dir.File("song.wav"), map, true, c.origin, 1);
        EXPECT_EQ(r.Order(), c.order);
    }
}

TEST(BuildOrigin, OnlyFlaggedSecondsAreClaimedAroundTheOrigin) {
    CProject p = BusySong(8);
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    ASSERT_TRUE(FullBuild(p, wav));
    CProjectModified map(8, 0);
    map[1] = map[4] = map[6] = 1;
    const WrittenRecorder r = BuildFrom(p, wav, map, false, 5, 1);
    EXPECT_EQ(r.Order(), (std::vector<int32_t>{6, 1, 4}));
    EXPECT_EQ(map.CountSet(map.size()), 0u);
}

TEST(BuildOrigin, EveryWrittenSecondIsAnnouncedOnceWithItsBytesInTheFile) {
    // A note sounding through every second, so no byte of a second is silence that an
    // unwritten stretch of the file would match.
    CProject p = BusySong(6, 8000, 16, 2);
    AddNote(p, 0, 0, 6, 30);
    BuildLayout layout;
    ASSERT_TRUE(MakeBuildLayout(p, layout));
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    CProjectModified map;
    const WrittenRecorder r = BuildFrom(p, wav, map, true, 3, 3);
    const std::vector<uint8_t> file = ReadBytes(wav);
    std::vector<int32_t> seconds = r.Order();
    std::sort(seconds.begin(), seconds.end());
    EXPECT_EQ(seconds, (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    for (const WRITTEN_SECOND& w : r.written) {
        SCOPED_TRACE(w.second);
        EXPECT_EQ(w.firstByte, layout.SecondOffset(w.second));
        EXPECT_EQ(w.endByte - w.firstByte,
                  uint64_t(layout.FramesOfSecond(w.second)) * layout.BlockSize());
        ASSERT_LE(w.endByte, file.size());
        EXPECT_TRUE(std::equal(w.bytes.begin(), w.bytes.end(), file.begin() + long(w.firstByte)));
    }
}

TEST(BuildOrigin, TheFileDoesNotDependOnTheOrigin) {
    TempDir dir;
    CProject a = BusySong(7);
    ASSERT_TRUE(FullBuild(a, dir.File("plain.wav"), 1));
    CProject b = BusySong(7);
    CProjectModified map;
    BuildFrom(b, dir.File("live.wav"), map, true, 4, 2);
    EXPECT_EQ(ReadBytes(dir.File("live.wav")), ReadBytes(dir.File("plain.wav")));
}
