// The live player: what a listener hears (through the capture device) while the file is
// rewritten under it, looped, seeked and clicked over, and that the player's own thread
// keeps the device fed whatever the owner thread does.
//
// Files are 16-bit mono at 8000 Hz whose samples are their frame index, so every recorded
// sample tells which frame of the file it came from.

#include "CaptureSupport.h"
#include "WavBuilder.h"

#include "audio/CLivePlayer.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr int kRate = 8000;
const WAVE_FORMAT kMono16 = WAVE_FORMAT::Pcm(1, kRate, 16);

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Frame values a rewrite puts in place of frames first..last: they cannot be confused with
// the ramp's.
std::vector<int> Edited(int first, int last) {
    std::vector<int> v = Range(first, last);
    for (int& x : v) {
        x = -x;
    }
    return v;
}

std::vector<uint8_t> Bytes16(const std::vector<int>& values) {
    std::vector<uint8_t> b;
    for (int v : values) {
        b.push_back(uint8_t(v & 0xFF));
        b.push_back(uint8_t((v >> 8) & 0xFF));
    }
    return b;
}

// Where the played frames of a recording do not simply go on by one: (from, to) pairs.
std::vector<std::pair<int, int>> Jumps(const std::vector<int>& heard) {
    std::vector<std::pair<int, int>> jumps;
    for (size_t i = 1; i < heard.size(); ++i) {
        if (heard[i] != heard[i - 1] + 1) {
            jumps.emplace_back(heard[i - 1], heard[i]);
        }
    }
    return jumps;
}

// The frames a loop [start, end) plays from `from` on, `count` of them.
std::vector<int> Looped(int from, int start, int end, size_t count) {
    std::vector<int> frames;
    for (int f = from; frames.size() < count; ++f) {
        if (f == end) {
            f = start;
        }
        frames.push_back(f);
    }
    return frames;
}

class CLivePlayerTest : public ::testing::Test {
protected:
    QString Ramp(int frames, const char* name = "ramp.wav") {
        return WavBuilder().Fmt(kMono16).Data(Ramp16(frames)).Save(Path(name));
    }
    QString Path(const char* name) const { return capture.Folder() + "/" + name; }
    // Writes values over frames from `first` on, in place, as a build does; returns the
    // file's byte range that changed.
    std::pair<qint64, qint64> Rewrite(const QString& path, int first,
                                      const std::vector<int>& values) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 data = file.readAll().indexOf("data") + 8;
        const qint64 at = data + 2 * qint64(first);
        const std::vector<uint8_t> bytes = Bytes16(values);
        file.seek(at);
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return {at, at + qint64(bytes.size())};
    }
    std::vector<int> Heard() const { return Frames16(capture.Data()); }
    bool WaitHeard(size_t frames) const { return capture.WaitForFrames(frames); }
    static bool PlayToEnd(const CLivePlayer& player, int timeoutMs = 5000) {
        return RunUntil([&] { return !player.IsPlaying(); }, timeoutMs);
    }
    static bool WaitPosition(const CLivePlayer& player, double seconds) {
        return RunUntil([&] { return player.GetPosition() >= seconds; }, 5000);
    }

    CaptureDevice capture;
};

} // namespace

TEST_F(CLivePlayerTest, PlaysTheKeptBytesFromTheStartPositionInEveryFormat) {
    struct Case {
        WAVE_FORMAT format;
        double head, tail, start;
    };
    const Case cases[] = {
        {kMono16, 0.0, 0.0, 0.0},
        {kMono16, 0.05, 0.1, 0.02},
        {WAVE_FORMAT::Pcm(2, kRate, 16), 0.0, 0.0, 0.1},
        {WAVE_FORMAT::Pcm(1, kRate, 8), 0.01, 0.0, 0.0},
        {WAVE_FORMAT::Pcm(2, kRate, 24), 0.0, 0.02, 0.05},
        {WAVE_FORMAT::Pcm(1, kRate, 32), 0.0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        const uint32_t frame = c.format.blockAlign;
        std::vector<uint8_t> bytes(size_t(0.25 * kRate) * frame);
        for (size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = uint8_t(i * 7 + i / 251);
        }
        const QString path = WavBuilder().Fmt(c.format).Data(bytes).Save(Path("fmt.wav"));
        const size_t head = size_t(c.head * kRate) * frame;
        const size_t tail = size_t(c.tail * kRate) * frame;
        const size_t start = head + size_t(c.start * kRate) * frame;
        CLivePlayer player;
        ASSERT_TRUE(player.Open(path, c.head, c.tail)) << frame;
        EXPECT_DOUBLE_EQ(player.GetLength(), double(bytes.size() - head - tail) / frame / kRate);
        ASSERT_TRUE(player.Seek(c.start));
        EXPECT_DOUBLE_EQ(player.GetPosition(), c.start);
        ASSERT_TRUE(player.Play());
        EXPECT_TRUE(player.IsPlaying());
        ASSERT_TRUE(PlayToEnd(player)) << frame;
        EXPECT_EQ(capture.Data(), std::vector<uint8_t>(bytes.begin() + start, bytes.end() - tail))
            << frame;
        EXPECT_DOUBLE_EQ(player.GetPosition(), player.GetLength()) << frame;
        player.Close();
    }
}

TEST_F(CLivePlayerTest, AnEditAheadIsHeardFromItsFirstFrameAndOneBehindIsNot) {
    const QString path = Ramp(8000);
    CLivePlayer player;
    ASSERT_TRUE(player.Open(path, 0, 0));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitPosition(player, 0.1));
    // 300 ms ahead of what is heard, and a stretch already heard.
    const int first = int(player.GetPositionFrame()) + kRate * 3 / 10;
    const int last = first + kRate / 10 - 1;
    const auto ahead = Rewrite(path, first, Edited(first, last));
    const auto behind = Rewrite(path, 0, Edited(0, 99));
    ASSERT_TRUE(player.Invalidate(ahead.first, ahead.second));
    ASSERT_TRUE(player.Invalidate(behind.first, behind.second));
    ASSERT_TRUE(PlayToEnd(player));
    const std::vector<int> expected =
        Concat(Concat(Range(0, first - 1), Edited(first, last)), Range(last + 1, 7999));
    EXPECT_EQ(Heard(), expected);
}

TEST_F(CLivePlayerTest, AnEditBehindIsHeardWhenTheLoopComesRoundAgain) {
    const QString path = Ramp(8000);
    CLivePlayer player;
    ASSERT_TRUE(player.Open(path, 0, 0));
    ASSERT_TRUE(player.SetLoopRange(0.1, 0.6)); // frames 800..4799
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitPosition(player, 0.35));
    const auto changed = Rewrite(path, 1000, Edited(1000, 1399));
    ASSERT_TRUE(player.Invalidate(changed.first, changed.second));
    ASSERT_TRUE(WaitHeard(4800 + 2 * 4000 + 100));
    player.Stop();
    const std::vector<int> heard = Heard();
    std::vector<int> expected = Range(0, 4799);
    while (expected.size() < heard.size()) {
        expected = Concat(expected,
                          Concat(Concat(Range(800, 999), Edited(1000, 1399)), Range(1400, 4799)));
    }
    expected.resize(heard.size());
    EXPECT_EQ(heard, expected);
}

TEST_F(CLivePlayerTest, EveryLoopWrapsAtItsExactFramesOnEveryPass) {
    struct Case {
        const char* what;
        bool smpl;    // the file has a "smpl" loop over frames 400..1199
        bool loop;    // the song's own loop switch
        bool range;   // a loop range over 0.2 .. 0.3 s
        double start; // where playing starts
        int loopStart, loopEnd;
    };
    const Case cases[] = {
        {"the file's loop", true, true, false, 0.0, 400, 1200},
        {"the whole song without a file loop", false, true, false, 0.2, 0, 2000},
        {"a range over the file's loop", true, true, true, 0.0, 1600, 2400},
        {"a range without the loop switch", false, false, true, 0.1, 1600, 2400},
    };
    for (const Case& c : cases) {
        const int frames = c.loop && !c.smpl && !c.range ? 2000 : 4000;
        WavBuilder wav;
        wav.Fmt(kMono16).Data(Ramp16(frames));
        if (c.smpl) {
            wav.Smpl(400, 1199);
        }
        CLivePlayer player;
        ASSERT_TRUE(player.Open(wav.Save(Path("loop.wav")), 0, 0)) << c.what;
        player.SetLoop(c.loop);
        if (c.range) {
            ASSERT_TRUE(player.SetLoopRange(0.2, 0.3)) << c.what;
        }
        player.Seek(c.start);
        player.Play();
        ASSERT_TRUE(
            WaitHeard(size_t(c.loopEnd - c.start * kRate) + 3 * size_t(c.loopEnd - c.loopStart)));
        player.Close();
        const std::vector<int> heard = Heard();
        EXPECT_EQ(heard, Looped(int(c.start * kRate), c.loopStart, c.loopEnd, heard.size()))
            << c.what;
    }
}

TEST_F(CLivePlayerTest, ALoopRangeSetWhilePlayingWrapsAtOnceAndClearingItRunsOn) {
    CLivePlayer player;
    ASSERT_TRUE(player.Open(Ramp(9600), 0, 0));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitPosition(player, 0.05));
    ASSERT_TRUE(player.SetLoopRange(0.4, 0.6)); // frames 3200..4799, far ahead
    ASSERT_TRUE(WaitHeard(4800 + 3 * 1600));
    player.ClearLoopRange();
    ASSERT_TRUE(PlayToEnd(player));
    const std::vector<int> heard = Heard();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), 0);
    EXPECT_EQ(heard.back(), 9599);
    const auto jumps = Jumps(heard);
    EXPECT_GE(jumps.size(), 3u);
    for (const auto& jump : jumps) {
        EXPECT_EQ(jump, std::make_pair(4799, 3200));
    }
}

TEST_F(CLivePlayerTest, ALoopEndingInsideTheQueuedSoundWrapsRightAfterIt) {
    LIVE_PLAYER_OPTIONS options;
    options.bufferMs = 250; // a second queued: the loop's end surely lies inside it
    options.fadeMs = 0;
    CLivePlayer player(options);
    ASSERT_TRUE(player.Open(Ramp(12000), 0, 0));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitPosition(player, 0.05));
    ASSERT_TRUE(player.SetLoopRange(0.0, 0.5));
    ASSERT_TRUE(WaitHeard(12000 + 2 * 4000));
    player.Close();
    const auto jumps = Jumps(Heard());
    ASSERT_GE(jumps.size(), 2u);
    EXPECT_GE(jumps[0].first, 3999) << "the queued sound plays out";
    EXPECT_EQ(jumps[0].second, 0);
    for (size_t i = 1; i < jumps.size(); ++i) {
        EXPECT_EQ(jumps[i], std::make_pair(3999, 0)) << "then every pass wraps exactly";
    }
}

TEST_F(CLivePlayerTest, ClicksLandOnTheirFramesOnEveryPassAndNeverInTheFile) {
    const QString path =
        WavBuilder().Fmt(kMono16).Data(std::vector<uint8_t>(2 * 4000, 0)).Save(Path("quiet.wav"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    const int kClick = 40; // 5 ms at 8000 Hz
    CLivePlayer player;
    ASSERT_TRUE(player.Open(path, 0, 0));
    player.SetClicks({{2000, false}, {400, true}, {1200, false}, {3800, true}});
    ASSERT_TRUE(player.SetLoopRange(0.1, 0.3)); // frames 800..2399: 3800 never plays
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitHeard(2400 + 3 * 1600));
    player.Stop();

    const std::vector<int> heard = Heard();
    const std::vector<int16_t> samples(heard.begin(), heard.end());
    const std::vector<int> frames = Looped(0, 800, 2400, heard.size());
    std::vector<size_t> starts;
    for (size_t i = 0; i < heard.size(); ++i) {
        const int f = frames[i];
        const bool inClick = (f >= 400 && f < 400 + kClick) || (f >= 1200 && f < 1200 + kClick) ||
                             (f >= 2000 && f < 2000 + kClick);
        if (!inClick) {
            ASSERT_EQ(heard[i], 0) << "frame " << f;
        }
        if ((f == 400 || f == 1200 || f == 2000) && i + kClick <= heard.size()) {
            starts.push_back(i);
        }
    }
    ASSERT_GE(starts.size(), 7u); // 400 once, 1200 and 2000 on every pass
    for (size_t start : starts) {
        const int peak = PeakOf(samples, start, kClick);
        EXPECT_GT(peak, 0);
        EXPECT_EQ(std::abs(heard[start]), peak) << "a click starts at its peak on its frame";
    }
    // Every pass sounds the same click.
    const std::vector<int> first(heard.begin() + starts[1], heard.begin() + starts[1] + kClick);
    for (size_t i = 3; i < starts.size(); i += 2) {
        EXPECT_EQ(std::vector<int>(heard.begin() + starts[i], heard.begin() + starts[i] + kClick),
                  first);
    }
    EXPECT_GT(PeakOf(samples, starts[0], kClick), PeakOf(samples, starts[1], kClick));
    EXPECT_GT(CountZeroCrossings(samples, starts[0], kClick),
              CountZeroCrossings(samples, starts[1], kClick));

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(CLivePlayerTest, SeekWhilePlayingGoesOnAtTheNewFrameWithoutAGap) {
    for (int fadeMs : {0, 5}) {
        LIVE_PLAYER_OPTIONS options;
        options.fadeMs = fadeMs;
        CLivePlayer player(options);
        ASSERT_TRUE(player.Open(Ramp(12000), 0, 0));
        ASSERT_TRUE(player.Play());
        ASSERT_TRUE(WaitPosition(player, 0.05));
        ASSERT_TRUE(player.Seek(1.0));
        EXPECT_DOUBLE_EQ(player.GetPosition(), 1.0) << "the new position counts at once";
        ASSERT_TRUE(WaitPosition(player, 1.1));
        player.Close();

        const std::vector<int> heard = Heard();
        const int fade = kRate * fadeMs / 1000;
        size_t jump = 1;
        while (jump < heard.size() && heard[jump] == heard[jump - 1] + 1) {
            ++jump;
        }
        ASSERT_LT(jump + fade, heard.size()) << fadeMs;
        EXPECT_EQ(Range(0, int(jump) - 1), std::vector<int>(heard.begin(), heard.begin() + jump));
        // Across the fade the sound moves from where it was towards the new frames...
        for (int k = 0; k < fade; ++k) {
            const int from = int(jump) + k;
            const int to = 8000 + k;
            EXPECT_GT(heard[jump + k], from) << k;
            EXPECT_LT(heard[jump + k], to) << k;
        }
        // ...and then plays them one after the other.
        const std::vector<int> after(heard.begin() + jump + fade, heard.end());
        EXPECT_EQ(after, Range(8000 + fade, 8000 + fade + int(after.size()) - 1)) << fadeMs;
    }
}

TEST_F(CLivePlayerTest, PauseKeepsThePositionAndStopForgetsIt) {
    CLivePlayer player;
    ASSERT_TRUE(player.Open(Ramp(4000), 0, 0));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(WaitPosition(player, 0.1));
    ASSERT_TRUE(player.Pause());
    EXPECT_FALSE(player.IsPlaying());
    const uint64_t paused = player.GetPositionFrame();
    RunFor(50);
    EXPECT_EQ(player.GetPositionFrame(), paused);
    // The device may have played a step more than it had counted when it stopped.
    const size_t before = Heard().size();
    EXPECT_GE(before, paused);
    EXPECT_LE(before, paused + kRate / 10);
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(PlayToEnd(player));
    std::vector<int> expected = Concat(Range(0, int(before) - 1), Range(int(paused), 3999));
    EXPECT_EQ(Heard(), expected);
    EXPECT_DOUBLE_EQ(player.GetPosition(), 0.5);
    // From the end Play starts over; after Stop it starts over as well.
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(PlayToEnd(player));
    player.Stop();
    EXPECT_EQ(player.GetPosition(), 0.0);
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(PlayToEnd(player));
    expected = Concat(Concat(expected, Range(0, 3999)), Range(0, 3999));
    EXPECT_EQ(Heard(), expected);
}

TEST_F(CLivePlayerTest, KeepsTheDeviceFedWhileTheOwnerThreadStalls) {
    LIVE_PLAYER_OPTIONS options;
    options.bufferMs = 40; // 160 ms queued: less than the stall, more than a busy machine's delays
    CLivePlayer player(options);
    ASSERT_TRUE(player.Open(Ramp(8000), 0, 0));
    ASSERT_TRUE(player.Play());
    QThread::msleep(200);
    QThread::msleep(200);
    ASSERT_TRUE(PlayToEnd(player));
    EXPECT_EQ(player.Underruns(), 0u);
    EXPECT_EQ(Heard(), Range(0, 7999));
}

TEST_F(CLivePlayerTest, ReloadFollowsAFileThatGrewOrShrank) {
    for (int frames : {6000, 3200}) {
        const QString path = Ramp(4000);
        CLivePlayer player;
        ASSERT_TRUE(player.Open(path, 0, 0));
        ASSERT_TRUE(player.Play());
        ASSERT_TRUE(WaitPosition(player, 0.1));
        Ramp(frames);
        ASSERT_TRUE(player.Reload()) << frames;
        EXPECT_DOUBLE_EQ(player.GetLength(), double(frames) / kRate);
        ASSERT_TRUE(PlayToEnd(player));
        EXPECT_EQ(Heard(), Range(0, frames - 1)) << frames;
        player.Close();
    }
    // Another sample format needs Open: the player goes on with what it has.
    const QString path = Ramp(4000);
    CLivePlayer player;
    ASSERT_TRUE(player.Open(path, 0, 0));
    WavBuilder().Fmt(WAVE_FORMAT::Pcm(2, kRate, 16)).Data(Ramp16(8000)).Save(path);
    const Result reloaded = player.Reload();
    EXPECT_FALSE(reloaded);
    EXPECT_FALSE(reloaded.message.empty());
    EXPECT_DOUBLE_EQ(player.GetLength(), 0.5);
}

TEST_F(CLivePlayerTest, ClosingWhilePlayingAndEditingIsSafe) {
    const QString path = Ramp(8000);
    CLivePlayer player;
    ASSERT_TRUE(player.Open(path, 0, 0));
    ASSERT_TRUE(player.Play());
    // A build worker keeps handing edits over while the owner seeks, closes and reopens.
    std::atomic<bool> done{false};
    std::thread worker([&] {
        while (!done.load()) {
            player.Invalidate(0, 1 << 20);
            QThread::msleep(1);
        }
    });
    ASSERT_TRUE(WaitPosition(player, 0.05));
    player.Seek(0.5);
    player.Close();
    EXPECT_FALSE(player.IsOpen());
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_FALSE(player.Play());
    ASSERT_TRUE(player.Open(path, 0, 0));
    ASSERT_TRUE(player.Play());
    RunFor(30);
    done.store(true);
    worker.join();
    // A loop range does not outlive its file: here it would lie beyond the next one.
    ASSERT_TRUE(player.SetLoopRange(0.5, 0.9));
    player.Close();
    EXPECT_FALSE(player.Invalidate(0, 100));
    ASSERT_TRUE(player.Open(Ramp(800, "short.wav"), 0, 0));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(PlayToEnd(player));
    // Destroyed while playing, without Close.
    CLivePlayer other;
    ASSERT_TRUE(other.Open(path, 0, 0));
    ASSERT_TRUE(other.Play());
}

TEST_F(CLivePlayerTest, RefusesWhatItCannotPlayWithAReason) {
    CLivePlayer player;
    EXPECT_FALSE(player.Seek(0.1));
    EXPECT_FALSE(player.Pause());
    EXPECT_FALSE(player.SetLoopRange(0.0, 0.1));
    EXPECT_FALSE(player.Invalidate(0, 100));
    EXPECT_FALSE(player.Reload());
    const Result missing = player.Open(Path("missing.wav"), 0, 0);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.message.empty());
    const Result cut = player.Open(Ramp(800), 0.05, 0.05);
    EXPECT_FALSE(cut) << "nothing is left after the cuts";
    EXPECT_FALSE(player.IsOpen());

    ASSERT_TRUE(player.Open(Ramp(800), 0.01, 0));
    EXPECT_FALSE(player.Seek(-0.1));
    EXPECT_FALSE(player.Seek(std::nan("")));
    EXPECT_FALSE(player.SetLoopRange(0.05, 0.05));
    EXPECT_FALSE(player.SetLoopRange(0.05, 0.01));
    EXPECT_FALSE(player.SetLoopRange(-1.0, 0.05));
    EXPECT_FALSE(player.SetLoopRange(0.2, 0.3)) << "wholly beyond the data";
    ASSERT_TRUE(player.Seek(5.0));
    EXPECT_DOUBLE_EQ(player.GetPosition(), 0.089875) << "the last frame";
    // Ranges outside the kept data (the header, the cut head, beyond the end) change nothing.
    EXPECT_TRUE(player.Invalidate(0, 40));
    EXPECT_TRUE(player.Invalidate(1 << 20, 1 << 21));
    EXPECT_TRUE(player.Invalidate(500, 100));
}
