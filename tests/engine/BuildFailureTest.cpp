// Builds that do not run to the end: abort, samples that will not load, files that cannot
// be written. Each must leave a valid file (or none) and keep what is still to render.

#include "BuildTestSupport.h"

#include "engine/internal/BuildLayout.h"

using namespace buildtest;

namespace {

CProject SongWithSample(const std::string& fileName) {
    CProject p = BusySong(2);
    p.tracks[0].settings.waveform = kPcm;
    p.tracks[0].settings.pcm.fileName = fileName;
    return p;
}

struct SampleRun {
    BuildOutcome outcome;
    RecordingObserver observer;
    FakeSampleLoader loader;
};

void RunWithSample(SampleRun& run, CProject& p, const std::string& wav) {
    CProjectModified map;
    CBuild build(run.observer, run.loader, 2, *run.observer.stop);
    run.outcome = build.Build(wav, p, map, true);
}

} // namespace

TEST(BuildFailure, AbortKeepsTheFlagsOfUnwrittenSecondsAndAValidFile) {
    // [GIVEN] a long song on one worker, aborted at the first look at the abort button
    CProject p = BusySong(600);
    TempDir dir;
    const std::string wav = dir.File("song.wav");
    CProjectModified map;
    Built b;
    b.observer.cancelAfterSteps = 0;
    FakeSampleLoader loader;
    CBuild build(b.observer, loader, 1, *b.observer.stop);
    b.outcome = build.Build(wav, p, map, true);

    // [THEN] cancelled; every second not written is still flagged
    EXPECT_EQ(b.outcome.status, BuildStatus::Cancelled);
    EXPECT_FALSE(b.outcome);
    const int32_t rendered = b.outcome.secondsRendered;
    EXPECT_LT(rendered, 600);
    EXPECT_EQ(map.CountSet(600), size_t(600 - rendered));
    for (int32_t s = 0; s < rendered; ++s)
        EXPECT_EQ(map[size_t(s)], 0) << "seconds fill from the start";
    // [THEN] the header and the sizes are those of a complete file
    const auto bytes = ReadBytes(wav);
    BuildLayout l;
    ASSERT_TRUE(MakeBuildLayout(p, l));
    EXPECT_EQ(CheckValidWave(bytes), l.dataSize);
    EXPECT_EQ(bytes.size(), l.FileSize());
    ASSERT_EQ(b.observer.done.size(), 1u);
    EXPECT_EQ(b.observer.done[0].status, BuildStatus::Cancelled);
    EXPECT_EQ(b.observer.done[0].secondsRendered, rendered);

    // [WHEN] the next incremental build runs [THEN] it renders exactly the rest
    Built next = BuildSong(p, wav, map, false);
    ASSERT_TRUE(next.outcome);
    EXPECT_EQ(next.outcome.secondsRendered, 600 - rendered);
    ASSERT_TRUE(FullBuild(p, dir.File("fresh.wav")));
    EXPECT_EQ(ReadBytes(wav), ReadBytes(dir.File("fresh.wav")));
}

TEST(BuildFailure, SampleAnswersAbortRetryIgnore) {
    // Abort: the build ends before the file is opened, with the path in the question.
    {
        CProject p = SongWithSample("/no/such/kick.wav");
        TempDir dir;
        SampleRun run;
        run.loader.failures = 100;
        run.observer.answers = {IBuildEvents::SampleAnswer::Abort};
        RunWithSample(run, p, dir.File("a.wav"));
        EXPECT_EQ(run.outcome.status, BuildStatus::Failed);
        EXPECT_NE(run.outcome.message.find("/no/such/kick.wav"), std::string::npos);
        ASSERT_EQ(run.observer.sampleQuestions.size(), 1u);
        EXPECT_EQ(run.observer.sampleQuestions[0], "/no/such/kick.wav");
        EXPECT_FALSE(std::filesystem::exists(dir.File("a.wav")));
        ASSERT_EQ(run.observer.done.size(), 1u);
        EXPECT_EQ(run.observer.done[0].status, BuildStatus::Failed);
        for (const BuildProgress& p : run.observer.progress)
            EXPECT_EQ(p.phase, BuildPhase::LoadingSamples) << "rendering never started";
    }
    // Retry: the same track is tried again, and the build goes on once it loads.
    {
        CProject p = SongWithSample("/tmp/kick.wav");
        TempDir dir;
        SampleRun run;
        run.loader.failures = 2;
        run.observer.answers = {IBuildEvents::SampleAnswer::Retry};
        RunWithSample(run, p, dir.File("r.wav"));
        EXPECT_TRUE(run.outcome) << run.outcome.message;
        EXPECT_EQ(run.loader.calls, 3);
        EXPECT_EQ(run.observer.sampleQuestions.size(), 2u);
        EXPECT_TRUE(p.tracks[0].settings.pcm.HasSample());
    }
    // Ignore: the build completes and the track's notes are silent.
    {
        CProject p = SongWithSample("/tmp/kick.wav");
        TempDir dir;
        SampleRun run;
        run.loader.failures = 100;
        run.observer.answers = {IBuildEvents::SampleAnswer::Ignore};
        RunWithSample(run, p, dir.File("i.wav"));
        EXPECT_TRUE(run.outcome);
        EXPECT_EQ(run.loader.calls, 1);
        const auto bytes = ReadBytes(dir.File("i.wav"));
        const uint32_t d = CheckValidWave(bytes);
        EXPECT_TRUE(std::all_of(bytes.begin() + 44, bytes.begin() + 44 + d,
                                [](uint8_t v) { return v == 0; }));
    }
}

TEST(BuildFailure, StopWhileSamplesLoadEndsTheBuildOnceTheyAreLoaded) {
    // [GIVEN] a listener that sets the stop flag while it answers the sample question
    class StopOnQuestion : public RecordingObserver {
    public:
        SampleAnswer SampleFailed(const std::string& path) override {
            *stop = true;
            return RecordingObserver::SampleFailed(path);
        }
    };
    CProject p = SongWithSample("/tmp/kick.wav");
    TempDir dir;
    StopOnQuestion observer;
    observer.answers = {IBuildEvents::SampleAnswer::Ignore};
    FakeSampleLoader loader;
    loader.failures = 1;
    CProjectModified map;
    CBuild build(observer, loader, 2, *observer.stop);
    const BuildOutcome outcome = build.Build(dir.File("s.wav"), p, map, true);

    // [THEN] cancelled before rendering: no file, every second still flagged
    EXPECT_EQ(outcome.status, BuildStatus::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("s.wav")));
    EXPECT_EQ(map.CountSet(2), 2u);
    ASSERT_EQ(observer.done.size(), 1u);
    for (const BuildProgress& progress : observer.progress)
        EXPECT_EQ(progress.phase, BuildPhase::LoadingSamples);
}

TEST(BuildFailure, OnlyUnmutedPcmTracksLoadTheirSamples) {
    CProject p = SongWithSample("/tmp/a.wav");
    p.InsertTrack(1);
    p.tracks[1].settings.waveform = kPcm;
    p.tracks[1].settings.pcm.fileName = "/tmp/b.wav";
    p.tracks[1].settings.mute = 1;
    p.InsertTrack(2);
    p.tracks[2].settings.pcm.fileName = "/tmp/c.wav"; // a square track
    p.InsertTrack(3);
    p.tracks[3].settings.waveform = kPcm;
    p.tracks[3].settings.pcm.fileName = "sub/d.wav";
    CPCM::SetDocumentsFolder("/home/someone/Documents");
    TempDir dir;
    SampleRun run;
    RunWithSample(run, p, dir.File("s.wav"));
    CPCM::SetDocumentsFolder("");
    EXPECT_TRUE(run.outcome);
    EXPECT_EQ(run.loader.paths,
              (std::vector<std::string>{"/tmp/a.wav", "/home/someone/Documents/sub/d.wav"}));
}

TEST(BuildFailure, OutputThatCannotBeOpenedIsReportedAndKeepsTheFlags) {
    TempDir dir;
    for (const std::string& wav : {dir.File("missing/folder/song.wav"), dir.path.string()}) {
        CProject p = BusySong(3);
        CProjectModified map{0, 1, 0};
        Built b = BuildSong(p, wav, map, false);
        EXPECT_EQ(b.outcome.status, BuildStatus::Failed) << wav;
        EXPECT_FALSE(b.outcome.message.empty());
        EXPECT_EQ(b.observer.outputErrors, std::vector<std::string>{wav});
        EXPECT_EQ(map, (CProjectModified{1, 1, 1})) << "no file: every second stays to render";
        ASSERT_EQ(b.observer.done.size(), 1u);
        EXPECT_EQ(b.observer.done[0].status, BuildStatus::Failed);
    }
}

TEST(BuildFailure, WriteErrorsFailTheBuildAndKeepTheFlags) {
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CProject p = BusySong(3);
    CProjectModified map;
    Built b = BuildSong(p, "/dev/full", map, false);
    EXPECT_EQ(b.outcome.status, BuildStatus::Failed);
    EXPECT_FALSE(b.outcome.message.empty());
    EXPECT_EQ(b.observer.outputErrors.size(), 1u);
    EXPECT_EQ(map.CountSet(3), 3u);
}
