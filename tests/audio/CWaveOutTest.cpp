// The wave-out device contract that the player, the preview engine and the editor rely on,
// checked on the null and capture devices.

#include "CaptureSupport.h"
#include "WavBuilder.h"

#include "audio/CWaveOut.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

const WAVE_FORMAT kMono16 = WAVE_FORMAT::Pcm(1, 1000, 16);

// A header over its own bytes, and the notices it received.
struct Buffer {
    std::vector<uint8_t> bytes;
    WAVE_HEADER header;
    explicit Buffer(std::vector<uint8_t> b) : bytes(std::move(b)) {
        header.data = bytes.data();
        header.length = uint32_t(bytes.size());
    }
};

class Notices : public QObject {
public:
    explicit Notices(CWaveOut& device) {
        connect(&device, &CWaveOut::bufferDone, this, [this](WAVE_HEADER* h) {
            order.push_back(h);
            onOwnerThread = onOwnerThread && QThread::currentThread() == thread();
        });
    }
    std::vector<WAVE_HEADER*> order;
    bool onOwnerThread = true;
};

bool Done(const WAVE_HEADER& h) {
    return (h.flags & WAVE_HEADER::kDone) && !(h.flags & WAVE_HEADER::kInQueue);
}

bool Play(CWaveOut& device, Buffer& b) {
    return device.Prepare(b.header) && device.Write(b.header);
}

// The stream's file holds exactly `bytes` in `format`, and its sizes describe just that.
::testing::AssertionResult Recorded(const CaptureDevice& capture, int stream,
                                    const WAVE_FORMAT& format, const std::vector<uint8_t>& bytes) {
    WAVE_FORMAT f;
    const std::vector<uint8_t> data = capture.Data(stream, &f);
    if (f.formatTag != format.formatTag || f.channels != format.channels ||
        f.samplesPerSec != format.samplesPerSec || f.bitsPerSample != format.bitsPerSample ||
        f.blockAlign != format.blockAlign) {
        return ::testing::AssertionFailure() << "stream " << stream << ": another format";
    }
    if (data != bytes) {
        return ::testing::AssertionFailure() << "stream " << stream << ": " << data.size()
                                             << " bytes, not the " << bytes.size() << " played";
    }
    const qint64 size = QFileInfo(capture.StreamPath(stream)).size();
    const qint64 expected = 46 + qint64(bytes.size() + (bytes.size() & 1));
    if (size != expected) {
        return ::testing::AssertionFailure()
               << "stream " << stream << ": file of " << size << " bytes, not " << expected;
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(CWaveOut, OpensEveryPlayableFormatAndRefusesTheRest) {
    struct Case {
        WAVE_FORMAT format;
        bool opens;
    };
    WAVE_FORMAT badAlign = WAVE_FORMAT::Pcm(2, 44100, 16);
    badAlign.blockAlign = 2;
    WAVE_FORMAT badTag = WAVE_FORMAT::Pcm(1, 44100, 16);
    badTag.formatTag = 2;
    WAVE_FORMAT float16 = WAVE_FORMAT::Pcm(1, 44100, 16);
    float16.formatTag = WAVE_FORMAT::kFloat;
    WAVE_FORMAT int32 = WAVE_FORMAT::Pcm(1, 44100, 32);
    int32.formatTag = WAVE_FORMAT::kPcm;
    const Case cases[] = {
        {WAVE_FORMAT::Pcm(1, 1000, 8), true},
        {WAVE_FORMAT::Pcm(2, 384000, 16), true},
        {WAVE_FORMAT::Pcm(2, 48000, 24), true},
        {WAVE_FORMAT::Pcm(1, 22050, 32), true},
        {WAVE_FORMAT::Pcm(2, 96000, 64), true},
        {int32, true},
        {WAVE_FORMAT::Pcm(1, 999, 16), false},
        {WAVE_FORMAT::Pcm(1, 384001, 16), false},
        {WAVE_FORMAT::Pcm(3, 44100, 16), false},
        {WAVE_FORMAT::Pcm(0, 44100, 16), false},
        {WAVE_FORMAT::Pcm(1, 44100, 12), false},
        {badAlign, false},
        {badTag, false},
        {float16, false},
    };
    for (const Case& c : cases) {
        CWaveOut device;
        EXPECT_EQ(bool(device.Open(c.format)), c.opens)
            << c.format.formatTag << " " << c.format.channels << " " << c.format.samplesPerSec
            << " " << c.format.bitsPerSample;
        EXPECT_EQ(device.IsOpen(), c.opens);
    }
}

TEST(CWaveOut, UnknownOrUnusableDeviceFailsCleanly) {
    qputenv("TSQ_AUDIO_DEVICE", "speakers");
    CWaveOut unknown;
    const Result r = unknown.Open(kMono16);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.message.empty());
    EXPECT_FALSE(unknown.IsOpen());

    qputenv("TSQ_AUDIO_DEVICE", "capture:/nonexistent-folder/x/capture.wav");
    CWaveOut unwritable;
    EXPECT_FALSE(unwritable.Open(kMono16));
    WAVE_HEADER h;
    EXPECT_FALSE(unwritable.Write(h));
    unwritable.Reset();
    EXPECT_EQ(unwritable.GetPosition(), 0u);
    qputenv("TSQ_AUDIO_DEVICE", "null");
}

TEST(CWaveOut, EveryBufferComesBackInOrderOnTheOwnerThreadAfterTheCall) {
    CWaveOut device;
    ASSERT_TRUE(device.Open(kMono16));
    Notices notices(device);
    std::array<Buffer, 3> buffers{Buffer(Ramp16(30)), Buffer(Ramp16(0)), Buffer(Ramp16(20))};
    for (Buffer& b : buffers) {
        ASSERT_TRUE(device.Prepare(b.header));
        ASSERT_TRUE(device.Write(b.header));
        EXPECT_TRUE(b.header.flags & WAVE_HEADER::kInQueue);
        EXPECT_FALSE(b.header.flags & WAVE_HEADER::kDone);
    }
    EXPECT_TRUE(notices.order.empty());
    ASSERT_TRUE(RunUntil([&] { return notices.order.size() == 3; }, 2000));
    EXPECT_EQ(notices.order, (std::vector<WAVE_HEADER*>{&buffers[0].header, &buffers[1].header,
                                                        &buffers[2].header}));
    EXPECT_TRUE(notices.onOwnerThread);
    for (Buffer& b : buffers) {
        EXPECT_TRUE(Done(b.header));
        EXPECT_TRUE(b.header.flags & WAVE_HEADER::kPrepared);
    }
    EXPECT_EQ(device.GetPosition(), 100u);
}

TEST(CWaveOut, NullDevicePlaysAtTheFormatsPace) {
    CWaveOut device;
    ASSERT_TRUE(device.Open(kMono16));
    Notices notices(device);
    Buffer b(Ramp16(300)); // 0.3 s
    device.Prepare(b.header);
    QElapsedTimer timer;
    timer.start();
    device.Write(b.header);
    ASSERT_TRUE(RunUntil([&] { return device.GetPosition() > 0; }, 1000));
    const uint64_t early = device.GetPosition();
    EXPECT_GT(early, 0u);
    EXPECT_LT(early, 600u);
    EXPECT_TRUE(notices.order.empty());
    ASSERT_TRUE(RunUntil([&] { return !notices.order.empty(); }, 3000));
    EXPECT_GE(timer.elapsed(), 280);
    EXPECT_EQ(device.GetPosition(), 600u);
    // A starved device stands still instead of counting idle time.
    RunFor(50);
    EXPECT_EQ(device.GetPosition(), 600u);
}

TEST(CWaveOut, ResetReturnsEveryQueuedBufferWithItsNoticeAndRestartsThePosition) {
    CaptureDevice capture;
    CWaveOut device;
    ASSERT_TRUE(device.Open(kMono16));
    Notices notices(device);
    std::array<Buffer, 3> buffers{Buffer(Ramp16(1000)), Buffer(Ramp16(1000, 1000)),
                                  Buffer(Ramp16(1000, 2000))};
    for (Buffer& b : buffers) {
        device.Prepare(b.header);
        device.Write(b.header);
    }
    RunUntil([&] { return device.GetPosition() >= 100; }, 2000);
    device.Reset();
    EXPECT_EQ(device.GetPosition(), 0u);
    for (Buffer& b : buffers) {
        EXPECT_TRUE(Done(b.header));
        EXPECT_TRUE(device.Unprepare(b.header));
    }
    EXPECT_TRUE(notices.order.empty()) << "notices are queued, not sent from inside Reset";
    ASSERT_TRUE(RunUntil([&] { return notices.order.size() == 3; }, 1000));
    EXPECT_EQ(notices.order.front(), &buffers[0].header);

    // Only what played before the reset was heard: a prefix of the first buffer.
    const std::vector<int> heard = Frames16(capture.Data());
    ASSERT_FALSE(heard.empty());
    ASSERT_LT(heard.size(), 1000u);
    EXPECT_EQ(heard, Range(0, int(heard.size()) - 1));

    // The device takes new buffers after a reset, counting from 0 again.
    Buffer again(Ramp16(10, 5000));
    device.Prepare(again.header);
    ASSERT_TRUE(device.Write(again.header));
    ASSERT_TRUE(RunUntil([&] { return Done(again.header); }, 1000));
    EXPECT_EQ(device.GetPosition(), 20u);
}

TEST(CWaveOut, WriteNeedsAPreparedHeaderThatIsNotQueued) {
    CWaveOut device;
    ASSERT_TRUE(device.Open(kMono16));
    Buffer b(Ramp16(500));
    EXPECT_FALSE(device.Write(b.header));
    device.Prepare(b.header);
    ASSERT_TRUE(device.Write(b.header));
    EXPECT_FALSE(device.Write(b.header));
    EXPECT_FALSE(device.Unprepare(b.header));
    EXPECT_FALSE(device.Prepare(b.header));
    WAVE_HEADER noBytes;
    noBytes.length = 10;
    device.Prepare(noBytes);
    EXPECT_FALSE(device.Write(noBytes));
    device.Reset();
    EXPECT_TRUE(device.Unprepare(b.header));
}

TEST(CWaveOut, CloseDropsNoticesNotYetDelivered) {
    CWaveOut device;
    ASSERT_TRUE(device.Open(kMono16));
    Notices notices(device);
    Buffer a(Ramp16(500)), b(Ramp16(500));
    device.Prepare(a.header);
    device.Prepare(b.header);
    device.Write(a.header);
    device.Write(b.header);
    device.Reset();
    device.Write(a.header);
    device.Close();
    EXPECT_TRUE(Done(a.header));
    RunFor(50);
    EXPECT_TRUE(notices.order.empty());
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.GetPosition(), 0u);
}

TEST(CWaveOut, CaptureRecordsWhatWasPlayedAfterTheVolume) {
    struct Case {
        WAVE_FORMAT format;
        std::vector<uint8_t> in;
        uint32_t volume;
        std::vector<uint8_t> out;
    };
    const Case cases[] = {
        // 16-bit stereo: 1000 and -1000 at left 0x7FFF, right 0xFFFF.
        {WAVE_FORMAT::Pcm(2, 1000, 16),
         {0xE8, 0x03, 0x18, 0xFC},
         0xFFFF7FFF,
         {0xF3, 0x01, 0x18, 0xFC}},
        // 8-bit mono is centred on 128.
        {WAVE_FORMAT::Pcm(1, 1000, 8), {228, 28, 128}, 0x00007FFF, {177, 79, 128}},
        // Silence on both sides.
        {WAVE_FORMAT::Pcm(2, 1000, 24), {1, 2, 3, 4, 5, 6}, 0, {0, 0, 0, 0, 0, 0}},
        // Full volume leaves a 32-bit float untouched.
        {WAVE_FORMAT::Pcm(1, 1000, 32),
         {0x00, 0x00, 0x80, 0x3F},
         0xFFFFFFFF,
         {0x00, 0x00, 0x80, 0x3F}},
    };
    for (const Case& c : cases) {
        CaptureDevice capture;
        CWaveOut device;
        ASSERT_TRUE(device.Open(c.format));
        device.SetVolume(c.volume);
        EXPECT_EQ(device.GetVolume(), c.volume);
        Buffer b(c.in);
        device.Prepare(b.header);
        device.Write(b.header);
        ASSERT_TRUE(RunUntil([&] { return Done(b.header); }, 1000));
        WAVE_FORMAT recorded;
        EXPECT_EQ(capture.Data(&recorded), c.out);
        EXPECT_EQ(recorded.bitsPerSample, c.format.bitsPerSample);
        EXPECT_EQ(recorded.channels, c.format.channels);
        EXPECT_EQ(recorded.formatTag, c.format.formatTag);
    }
}

TEST(CWaveOut, FramesSplitAcrossBuffersPlayWhole) {
    CaptureDevice capture;
    CWaveOut device;
    ASSERT_TRUE(device.Open(WAVE_FORMAT::Pcm(2, 1000, 16)));
    std::vector<uint8_t> all;
    for (int i = 0; i < 16; ++i) {
        all.push_back(uint8_t(i + 1));
    }
    Buffer a({all.begin(), all.begin() + 6}), b({all.begin() + 6, all.begin() + 11}),
        c({all.begin() + 11, all.end()});
    for (Buffer* x : {&a, &b, &c}) {
        device.Prepare(x->header);
        device.Write(x->header);
    }
    ASSERT_TRUE(RunUntil([&] { return Done(c.header); }, 1000));
    EXPECT_EQ(capture.Data(), all);
    EXPECT_EQ(device.GetPosition(), 16u);
}

TEST(CWaveOut, StreamsThatOverlapEachKeepACompleteRecording) {
    // [GIVEN] a stereo stream playing [WHEN] a mono stream opens and plays over it and
    // closes before the first ends [THEN] each recorded all it played, in its own format.
    CaptureDevice capture;
    const WAVE_FORMAT stereo = WAVE_FORMAT::Pcm(2, 1000, 16);
    CWaveOut song;
    ASSERT_TRUE(song.Open(stereo));
    Buffer a(Ramp16(600)); // 300 frames, 0.3 s
    ASSERT_TRUE(Play(song, a));
    ASSERT_TRUE(RunUntil([&] { return song.GetPosition() > 0; }, 1000));

    CWaveOut key;
    ASSERT_TRUE(key.Open(kMono16));
    Buffer b(Ramp16(50, 1000));
    ASSERT_TRUE(Play(key, b));
    ASSERT_TRUE(RunUntil([&] { return Done(b.header); }, 1000));
    EXPECT_FALSE(Done(a.header)) << "the streams did not overlap";
    key.Close();
    ASSERT_TRUE(RunUntil([&] { return Done(a.header); }, 2000));

    EXPECT_TRUE(Recorded(capture, 1, stereo, a.bytes));
    EXPECT_EQ(capture.StreamPath(2), capture.Folder() + "/capture-2.wav");
    EXPECT_TRUE(Recorded(capture, 2, kMono16, b.bytes));
}

TEST(CWaveOut, OnlyAStreamOpenedAfterAllHaveClosedStartsTheRecordingOver) {
    CaptureDevice capture;
    CWaveOut first, second;
    ASSERT_TRUE(first.Open(kMono16));
    ASSERT_TRUE(second.Open(kMono16));
    Buffer a(Ramp16(20)), b(Ramp16(20, 100));
    ASSERT_TRUE(Play(first, a));
    ASSERT_TRUE(Play(second, b));
    ASSERT_TRUE(RunUntil([&] { return Done(a.header) && Done(b.header); }, 1000));

    // [WHEN] the first closes while the second is open [THEN] a new stream takes a new
    // number and leaves both earlier recordings alone.
    first.Close();
    {
        CWaveOut third;
        ASSERT_TRUE(third.Open(WAVE_FORMAT::Pcm(1, 2000, 8)));
        Buffer c({1, 2, 3});
        ASSERT_TRUE(Play(third, c));
        ASSERT_TRUE(RunUntil([&] { return Done(c.header); }, 1000));
        EXPECT_TRUE(Recorded(capture, 3, WAVE_FORMAT::Pcm(1, 2000, 8), c.bytes));
    }
    EXPECT_TRUE(Recorded(capture, 1, kMono16, a.bytes));
    EXPECT_TRUE(Recorded(capture, 2, kMono16, b.bytes));

    // [WHEN] every stream has closed [THEN] the next writes the path afresh, alone.
    second.Close();
    CWaveOut fourth;
    ASSERT_TRUE(fourth.Open(WAVE_FORMAT::Pcm(2, 1000, 24)));
    Buffer d({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(Play(fourth, d));
    ASSERT_TRUE(RunUntil([&] { return Done(d.header); }, 1000));
    EXPECT_TRUE(Recorded(capture, 1, WAVE_FORMAT::Pcm(2, 1000, 24), d.bytes));
    EXPECT_FALSE(QFileInfo::exists(capture.StreamPath(2)));
    EXPECT_FALSE(QFileInfo::exists(capture.StreamPath(3)));
}

// The preview engine's pattern: four buffers of N frames of 16-bit mono, queued empty, then
// refilled from the notices on the opening thread.
TEST(CWaveOut, FourRotatingBuffersRefilledFromNoticesPlayWithoutGaps) {
    CaptureDevice capture;
    CWaveOut device;
    ASSERT_TRUE(device.Open(kMono16));
    constexpr int kFrames = 20;
    std::array<std::vector<uint8_t>, 4> bytes;
    std::array<WAVE_HEADER, 4> headers;
    int next = 0;
    int current = 0;
    QObject::connect(&device, &CWaveOut::bufferDone, &device, [&](WAVE_HEADER* h) {
        if (!(h->flags & WAVE_HEADER::kDone) || !(h->flags & WAVE_HEADER::kPrepared)) {
            return;
        }
        WAVE_HEADER& fill = headers[current];
        bytes[current] = Ramp16(kFrames, next);
        next += kFrames;
        fill.data = bytes[current].data();
        fill.length = kFrames * 2;
        device.Write(fill);
        current = (current + 1) % 4;
    });
    for (WAVE_HEADER& h : headers) {
        device.Prepare(h);
        ASSERT_TRUE(device.Write(h));
    }
    RunUntil([&] { return device.GetPosition() >= 400; }, 3000);
    device.Reset();
    for (WAVE_HEADER& h : headers) {
        EXPECT_TRUE(Done(h));
        device.Unprepare(h);
    }
    const std::vector<int> heard = Frames16(capture.Data());
    ASSERT_GE(heard.size(), 200u);
    EXPECT_EQ(heard, Range(0, int(heard.size()) - 1));
}
