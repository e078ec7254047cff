// The player: what a listener hears (through the capture device) for cuts, loops, seeks,
// pauses and volume, and how it treats malformed files.

#include "CaptureSupport.h"
#include "WavBuilder.h"

#include "audio/Sonalo.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

const WAVE_FORMAT kMono16 = WAVE_FORMAT::Pcm(1, 1000, 16);

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SonaloTest : public ::testing::Test {
protected:
    // 600 frames (0.6 s) of 16-bit mono at 1000 Hz, optionally with a loop.
    QString Ramp(int frames = 600) {
        return WavBuilder().Fmt(kMono16).Data(Ramp16(frames)).Save(Path("ramp.wav"));
    }
    QString Looped(uint32_t start, uint32_t end, int frames = 600) {
        return WavBuilder()
            .Fmt(kMono16)
            .Data(Ramp16(frames))
            .Smpl(start, end)
            .Save(Path("loop.wav"));
    }
    QString Path(const char* name) const { return capture.Folder() + "/" + name; }
    bool PlayToEnd(Sonalo& player, int timeoutMs = 3000) {
        return RunUntil([&] { return !player.IsPlaying(); }, timeoutMs);
    }

    CaptureDevice capture;
};

} // namespace

TEST_F(SonaloTest, HeadAndTailCutsPlayExactlyTheKeptBytes) {
    Sonalo player;
    ASSERT_TRUE(
        player.Open(WavBuilder().Fmt(kMono16).Data(Ramp16(1000)).Save(Path("cut.wav")), 0.1, 0.2));
    EXPECT_DOUBLE_EQ(player.GetLength(), 0.7);
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(player.GetPosition(), 0.0);
    ASSERT_TRUE(player.Play());
    EXPECT_TRUE(player.IsPlaying());
    ASSERT_TRUE(PlayToEnd(player));
    EXPECT_EQ(Frames16(capture.Data()), Range(100, 799));
    // The device stays open and the position stays inside the data.
    EXPECT_TRUE(player.IsOpen());
    EXPECT_LT(player.GetPosition(), player.GetLength());
}

TEST_F(SonaloTest, ALoopPlaysToItsEndAndThenRepeatsFromItsStart) {
    Sonalo player;
    ASSERT_TRUE(player.Open(Looped(100, 299), 0, 0));
    ASSERT_TRUE(player.HasLoop());
    EXPECT_DOUBLE_EQ(player.GetLoopStart(), 0.1);
    EXPECT_DOUBLE_EQ(player.GetLoopEnd(), 0.3);
    player.SetLoop(true);
    player.Play();
    // Once past the loop's end the first time, the position stays inside the loop.
    ASSERT_TRUE(RunUntil([&] { return capture.Data().size() >= 2 * 320; }, 2000));
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 500) {
        const double p = player.GetPosition();
        EXPECT_GE(p, 0.1);
        EXPECT_LT(p, 0.3);
        RunFor(20);
    }
    EXPECT_TRUE(player.IsPlaying());
    player.Stop();
    std::vector<int> expected = Range(0, 299);
    while (expected.size() < 2000) {
        expected = Concat(expected, Range(100, 299));
    }
    const std::vector<int> heard = Frames16(capture.Data());
    ASSERT_GT(heard.size(), 700u);
    expected.resize(heard.size());
    EXPECT_EQ(heard, expected);
}

TEST_F(SonaloTest, SeekingBeyondTheLoopEndPlaysToTheEndAndStopsEvenWithLoopingOn) {
    Sonalo player;
    ASSERT_TRUE(player.Open(Looped(100, 299), 0, 0));
    player.SetLoop(true);
    ASSERT_TRUE(player.Seek(0.45));
    EXPECT_DOUBLE_EQ(player.GetPosition(), 0.45);
    player.Play();
    ASSERT_TRUE(PlayToEnd(player, 2000));
    EXPECT_EQ(Frames16(capture.Data()), Range(450, 599));
}

TEST_F(SonaloTest, AfterPlayingPastTheLoopAStopAndPlayLoopsAgainFromTheStart) {
    Sonalo player;
    ASSERT_TRUE(player.Open(Looped(100, 299), 0, 0));
    player.SetLoop(true);
    player.Seek(0.5);
    player.Play();
    ASSERT_TRUE(PlayToEnd(player, 2000));
    player.Stop();
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(RunUntil([&] { return capture.Data().size() >= 2 * 600; }, 3000));
    player.Stop();
    std::vector<int> expected = Concat(Range(500, 599), Range(0, 299));
    while (expected.size() < 3000) {
        expected = Concat(expected, Range(100, 299));
    }
    const std::vector<int> heard = Frames16(capture.Data());
    expected.resize(heard.size());
    EXPECT_EQ(heard, expected);
}

TEST_F(SonaloTest, TurningLoopingOffInsideTheLoopRunsOnToTheEnd) {
    Sonalo player;
    ASSERT_TRUE(player.Open(Looped(100, 299), 0, 0));
    player.SetLoop(true);
    player.Play();
    // Into the second pass of the loop (0.3 s for the first run, 0.2 s per pass).
    RunUntil([&] { return capture.Data().size() >= 2 * 380; }, 2000);
    player.SetLoop(false);
    EXPECT_TRUE(player.IsPlaying());
    ASSERT_TRUE(PlayToEnd(player));
    EXPECT_EQ(Frames16(capture.Data()), Concat(Range(0, 299), Range(100, 599)));
}

TEST_F(SonaloTest, PauseThenPlayResumesAtTheSameFrame) {
    Sonalo player;
    ASSERT_TRUE(player.Open(Ramp(), 0, 0));
    player.Play();
    ASSERT_TRUE(RunUntil([&] { return player.GetPosition() >= 0.1; }, 2000));
    ASSERT_TRUE(player.Pause());
    EXPECT_FALSE(player.IsPlaying());
    const double paused = player.GetPosition();
    EXPECT_GT(paused, 0.0);
    RunFor(100);
    EXPECT_EQ(player.GetPosition(), paused);
    EXPECT_EQ(Frames16(capture.Data()).size(), size_t(paused * 1000 + 0.5));
    player.Play();
    ASSERT_TRUE(PlayToEnd(player));
    EXPECT_EQ(Frames16(capture.Data()), Range(0, 599));
}

TEST_F(SonaloTest, StopForgetsThePositionAndPlayStartsOver) {
    Sonalo player;
    ASSERT_TRUE(player.Open(Ramp(300), 0, 0));
    player.Play();
    ASSERT_TRUE(PlayToEnd(player));
    player.Stop();
    EXPECT_EQ(player.GetPosition(), 0.0);
    player.Play();
    ASSERT_TRUE(PlayToEnd(player));
    EXPECT_EQ(Frames16(capture.Data()), Concat(Range(0, 299), Range(0, 299)));
}

TEST_F(SonaloTest, SeekClampsToTheLastFrameAndRefusesNegativeTimes) {
    Sonalo player;
    EXPECT_FALSE(player.Seek(1.0));
    ASSERT_TRUE(player.Open(Ramp(), 0, 0));
    ASSERT_TRUE(player.Seek(0.25));
    EXPECT_FALSE(player.Seek(-0.1));
    EXPECT_DOUBLE_EQ(player.GetPosition(), 0.25);
    ASSERT_TRUE(player.Seek(1e300));
    EXPECT_DOUBLE_EQ(player.GetPosition(), 0.599);
    EXPECT_FALSE(player.Seek(std::nan("")));
    player.Play();
    ASSERT_TRUE(PlayToEnd(player, 1000));
    EXPECT_EQ(Frames16(capture.Data()), Range(599, 599));
}

TEST_F(SonaloTest, VolumeIsClampedAndSetsBothHalvesOfTheDeviceWord) {
    Sonalo player;
    player.SetVolume(0.5);
    EXPECT_EQ(player.GetDeviceVolume(), 0u);
    ASSERT_TRUE(player.Open(Ramp(), 0, 0));
    EXPECT_EQ(player.GetDeviceVolume(), 0x7FFF7FFFu) << "the level carries over to the file";
    player.SetVolume(1.5);
    EXPECT_EQ(player.GetVolume(), 1.0);
    EXPECT_EQ(player.GetDeviceVolume(), 0xFFFFFFFFu);
    player.SetVolume(-2.0);
    EXPECT_EQ(player.GetVolume(), 0.0);
    EXPECT_EQ(player.GetDeviceVolume(), 0u);
    player.SetVolume(0.5);
    EXPECT_EQ(player.GetDeviceVolume(), 0x7FFF7FFFu);
}

TEST_F(SonaloTest, TheLoopFollowsTheHeadCutAndStaysInsideTheKeptData) {
    struct Case {
        uint32_t start, end;
        double head, tail;
        bool hasLoop;
        double loopStart, loopEnd;
    };
    const Case cases[] = {
        {300, 399, 0.1, 0.0, true, 0.2, 0.3},  // moves 100 frames earlier
        {50, 599, 0.1, 0.1, false, 0, 0},      // starts in the head, ends in the tail
        {50, 199, 0.1, 0.0, true, 0.0, 0.1},   // starts in the cut head
        {10, 60, 0.1, 0.0, false, 0, 0},       // wholly in the cut head
        {400, 5000, 0.0, 0.0, true, 0.4, 0.6}, // claims frames the data lacks
        {550, 580, 0.0, 0.1, false, 0, 0},     // wholly in the cut tail
        {300, 200, 0.0, 0.0, false, 0, 0},     // ends before it starts
    };
    for (const Case& c : cases) {
        Sonalo player;
        ASSERT_TRUE(player.Open(Looped(c.start, c.end), c.head, c.tail)) << c.start;
        EXPECT_EQ(player.HasLoop(), c.hasLoop) << c.start << ".." << c.end;
        if (c.hasLoop) {
            EXPECT_NEAR(player.GetLoopStart(), c.loopStart, 1e-9) << c.start;
            EXPECT_NEAR(player.GetLoopEnd(), c.loopEnd, 1e-9) << c.start;
            EXPECT_LE(player.GetLoopEnd(), player.GetLength());
        }
    }
}

TEST_F(SonaloTest, ALoopClaimingMoreThanTheDataLoopsOverWhatIsThere) {
    Sonalo player;
    ASSERT_TRUE(player.Open(Looped(500, 70000), 0, 0));
    player.SetLoop(true);
    player.Seek(0.45);
    player.Play();
    ASSERT_TRUE(RunUntil([&] { return capture.Data().size() >= 2 * 250; }, 2000));
    player.Stop();
    const std::vector<int> heard = Frames16(capture.Data());
    ASSERT_GT(heard.size(), 200u);
    std::vector<int> expected = Range(450, 599);
    while (expected.size() < heard.size()) {
        expected = Concat(expected, Range(500, 599));
    }
    expected.resize(heard.size());
    EXPECT_EQ(heard, expected);
}

TEST_F(SonaloTest, ChunksMayComeInAnyOrderAroundOtherChunks) {
    std::vector<uint8_t> odd(301, 7); // 8-bit mono, an odd data size
    const WAVE_FORMAT mono8 = WAVE_FORMAT::Pcm(1, 1000, 8);
    const QString padded = WavBuilder()
                               .Chunk("LIST", QByteArray(5, 'x'))
                               .Data(odd)
                               .Chunk("junk", QByteArray(4, 'y'))
                               .Fmt(mono8, 16)
                               .Smpl(10, 20)
                               .Save(Path("padded.wav"));
    const QString unpadded =
        WavBuilder().Fmt(mono8).Data(odd, false).Smpl(10, 20).Save(Path("unpadded.wav"));
    for (const QString& path : {padded, unpadded}) {
        Sonalo player;
        ASSERT_TRUE(player.Open(path, 0, 0)) << path.toStdString();
        EXPECT_TRUE(player.HasLoop()) << path.toStdString();
        EXPECT_DOUBLE_EQ(player.GetLength(), 0.301);
    }
}

TEST_F(SonaloTest, MalformedFilesAreRefusedWithoutHarm) {
    const WAVE_FORMAT good = kMono16;
    WAVE_FORMAT noAlign = good;
    noAlign.blockAlign = 0;
    WAVE_FORMAT noRate = good;
    noRate.samplesPerSec = 0;
    const std::vector<uint8_t> data = Ramp16(100);
    struct Case {
        const char* what;
        QByteArray bytes;
        double head = 0, tail = 0;
    };
    const Case cases[] = {
        {"data larger than the file",
         WavBuilder().Fmt(good).Header("data", 0xFFFFFFF0u, QByteArray(200, 1)).Bytes()},
        {"smpl loops beyond the file",
         WavBuilder().Fmt(good).Data(data).Header("smpl", 0xFFFFFF00u, QByteArray(60, 0)).Bytes()},
        {"smpl claiming more loops than it holds",
         [&] {
             QByteArray smpl(60, 0);
             smpl[28] = char(0xFF);
             smpl[29] = char(0xFF);
             return WavBuilder().Fmt(good).Data(data).Chunk("smpl", smpl).Bytes();
         }()},
        {"smpl shorter than its header",
         WavBuilder().Fmt(good).Data(data).Chunk("smpl", QByteArray(20, 0)).Bytes()},
        {"fmt larger than the file",
         WavBuilder().Header("fmt ", 0x7FFFFFFF, QByteArray(18, 1)).Bytes()},
        {"block alignment 0", WavBuilder().Fmt(noAlign).Data(data).Bytes()},
        {"sample rate 0", WavBuilder().Fmt(noRate).Data(data).Bytes()},
        {"fmt but no data", WavBuilder().Fmt(good).Chunk("LIST", "abcd").Bytes()},
        {"data but no fmt", WavBuilder().Data(data).Bytes()},
        {"smpl before fmt", WavBuilder().Smpl(1, 2).Fmt(good).Data(data).Bytes()},
        {"not RIFF", QByteArray("RIFX\0\0\0\0WAVE", 12)},
        {"empty file", QByteArray()},
        {"data exactly head + tail", WavBuilder().Fmt(good).Data(data).Bytes(), 0.04, 0.06},
        {"less than one frame", WavBuilder().Fmt(good).Data({1}).Bytes()},
    };
    for (const Case& c : cases) {
        QFile file(Path("bad.wav"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        Sonalo player;
        ASSERT_TRUE(player.Open(Ramp(), 0, 0));
        EXPECT_FALSE(player.Open(Path("bad.wav"), c.head, c.tail)) << c.what;
        EXPECT_FALSE(player.IsOpen()) << c.what;
        EXPECT_FALSE(player.Play()) << c.what;
        EXPECT_FALSE(player.Pause()) << c.what;
        EXPECT_EQ(player.GetPosition(), 0.0) << c.what;
        EXPECT_EQ(player.GetLength(), 0.0) << c.what;
    }
    Sonalo player;
    EXPECT_FALSE(player.Open(Path("missing.wav"), 0, 0));
}
