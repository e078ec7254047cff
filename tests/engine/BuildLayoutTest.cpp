// Where a build puts things in the WAV file, and how sample values become bytes.

#include "BuildTestSupport.h"

#include "engine/CSongRenderer.h"
#include "engine/internal/BuildConvert.h"
#include "engine/internal/BuildLayout.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace buildtest;

TEST(BuildLayout, TwoAndAHalfSecondSongHasTheDocumentedFrameCounts) {
    // [GIVEN] 2.5 s at 44100 Hz, 16-bit stereo, 1000 ms before and 2000 ms after
    CProject p = Song(2, 44100, 16, 1000, 2000);
    AddNote(p, 0, 0, 2.5);
    BuildLayout l;
    ASSERT_TRUE(MakeBuildLayout(p, l));
    EXPECT_EQ(l.leadFrames, 44100);
    EXPECT_EQ(l.songFrames, 110250);
    EXPECT_EQ(l.tailFrames, 88200);
    EXPECT_EQ(l.dataSize, 970200u);
    EXPECT_EQ(l.secondCount, 3);
    EXPECT_EQ(l.FramesOfSecond(0), 44100);
    EXPECT_EQ(l.FramesOfSecond(2), 22050);
    EXPECT_EQ(l.SecondOffset(2), 44u + 44100 * 4 + 2 * 176400);

    // [THEN] the built file has exactly that data size and no loop chunk
    TempDir dir;
    ASSERT_TRUE(FullBuild(p, dir.File("a.wav")));
    const auto bytes = ReadBytes(dir.File("a.wav"));
    EXPECT_EQ(CheckValidWave(bytes), 970200u);
    EXPECT_EQ(bytes.size(), 44u + 970200u);
    EXPECT_EQ(U32At(bytes, 24), 44100u);
    EXPECT_EQ(U32At(bytes, 28), 176400u);
}

TEST(BuildLayout, EverySecondHoldsTheRenderedValuesFrameForFrame) {
    // [GIVEN] 2.5 s of stereo 64-bit float output, which stores the rendered values as
    // they are; the build converts each second in pieces of a few thousand frames
    CProject p = Song(2, 22050, 64, 100, 0);
    p.tracks[0].settings.pan = 90;
    CNote n;
    n.length = 2400;
    n.key = 47;
    n.portamentoLength = 1500;
    n.portamentoLevel = 700;
    p.tracks[0].AddNote(n);
    TempDir dir;
    ASSERT_TRUE(FullBuild(p, dir.File("f.wav")));
    const auto bytes = ReadBytes(dir.File("f.wav"));
    ASSERT_EQ(CheckValidWave(bytes), (2205u + 55125u) * 16u);
    // [THEN] each second's place in the file holds exactly the renderer's values
    const CSongRenderer renderer(p);
    const size_t songStart = 44 + 2205 * 16;
    for (int second = 0; second < 3; ++second) {
        const int frames = second < 2 ? 22050 : 11025;
        std::vector<double> expected(size_t(frames) * 2);
        renderer.RenderSecond(second, frames, expected.data());
        std::vector<double> stored(expected.size());
        std::memcpy(stored.data(), &bytes[songStart + size_t(second) * 22050 * 16],
                    stored.size() * sizeof(double));
        EXPECT_EQ(stored, expected) << "second " << second;
    }
}

TEST(BuildLayout, LoopBecomesSamplerChunkCountedFromTheLeadingSilence) {
    // [GIVEN] a loop over the first whole note at 120 BPM, 44100 Hz, 1000 ms before
    CProject p = Song(2, 44100, 16, 1000, 0);
    AddNote(p, 0, 0, 3);
    p.data.loopEnabled = 1;
    p.data.loopStart = 0;
    p.data.loopEnd = 1920;
    TempDir dir;
    ASSERT_TRUE(FullBuild(p, dir.File("loop.wav")));
    const auto b = ReadBytes(dir.File("loop.wav"));
    const uint32_t d = CheckValidWave(b);
    // [THEN] "smpl" follows the data: unity note 60, one forward loop over frames 44100..132299
    const size_t at = 44 + d + (d % 2);
    ASSERT_EQ(b.size(), at + 68);
    EXPECT_EQ(std::string(b.begin() + at, b.begin() + at + 4), "smpl");
    EXPECT_EQ(U32At(b, at + 4), 60u);
    EXPECT_EQ(U32At(b, at + 20), 60u);
    EXPECT_EQ(U32At(b, at + 36), 1u);
    EXPECT_EQ(U32At(b, at + 44), 0u); // cue point
    EXPECT_EQ(U32At(b, at + 48), 0u); // forward
    EXPECT_EQ(U32At(b, at + 52), 44100u);
    EXPECT_EQ(U32At(b, at + 56), 132299u);
    EXPECT_EQ(U32At(b, at + 64), 0u); // play count: endless
}

TEST(BuildLayout, EmptyLoopWritesNoSamplerChunk) {
    CProject p = Song(1, 8000, 16);
    AddNote(p, 0, 0, 1);
    p.data.loopEnabled = 1;
    p.data.loopStart = 0;
    p.data.loopEnd = 0;
    BuildLayout l;
    ASSERT_TRUE(MakeBuildLayout(p, l));
    EXPECT_FALSE(l.hasLoop);
}

TEST(BuildLayout, EightBitMonoOddDataGetsAPadByteOutsideTheDataSize) {
    // [GIVEN] 8-bit mono, 8000 Hz, a 1-tick song (1/960 s: 9 frames) and 1 ms (8 frames)
    // of leading silence
    CProject p = Song(1, 8000, 8, 1, 0);
    CNote n;
    n.length = 1;
    n.key = 50;
    p.tracks[0].AddNote(n);
    TempDir dir;
    ASSERT_TRUE(FullBuild(p, dir.File("odd.wav")));
    const auto b = ReadBytes(dir.File("odd.wav"));
    // [THEN] D = 8 + 9 = 17 is odd: one zero byte follows, counted in RIFF but not in D
    EXPECT_EQ(CheckValidWave(b), 17u);
    ASSERT_EQ(b.size(), 44u + 17 + 1);
    EXPECT_EQ(b.back(), 0);
    EXPECT_EQ(U32At(b, 4), 54u);
    // [THEN] 8-bit silence is 0x80
    for (size_t i = 44; i < 52; ++i)
        EXPECT_EQ(b[i], 0x80) << i;
}

TEST(BuildLayout, FormatsTheBuildCannotWriteAreRefused) {
    struct Case {
        int channels, rate, bits;
    } cases[] = {{0, 44100, 16}, {3, 44100, 16}, {2, 999, 16},  {2, 384001, 16},
                 {2, 44100, 0},  {2, 44100, 12}, {1, 8000, 48}, {2, -44100, 16}};
    for (const Case& c : cases) {
        CProject p = Song(c.channels, c.rate, c.bits);
        AddNote(p, 0, 0, 1);
        BuildLayout l;
        Result r = MakeBuildLayout(p, l);
        EXPECT_FALSE(r) << c.channels << " " << c.rate << " " << c.bits;
        EXPECT_FALSE(r.message.empty());
    }
    for (int bits : {8, 16, 24, 32, 64}) {
        CProject p = Song(2, 384000, bits);
        BuildLayout l;
        EXPECT_TRUE(MakeBuildLayout(p, l)) << bits;
        EXPECT_EQ(l.format.formatTag, bits < 25 ? 1 : 3);
    }
}

TEST(BuildLayout, SongBeyondTheRiffLimitIsRefusedNotWrapped) {
    // 64-bit stereo at 384000 Hz is 6144000 bytes a second: 4 GiB hold about 699 s.
    for (auto [seconds, fits] : {std::pair{690, true}, {700, false}}) {
        CProject p = Song(2, 384000, 64);
        AddNote(p, 0, seconds - 1, 1);
        BuildLayout l;
        Result r = MakeBuildLayout(p, l);
        EXPECT_EQ(bool(r), fits) << seconds;
        if (fits) {
            EXPECT_LE(l.FileSize() - 8, 0xFFFFFFFFu);
        }
    }
}

TEST(BuildLayout, RefusedFormatTouchesNothing) {
    CProject p = Song(2, 44100, 12);
    AddNote(p, 0, 0, 1);
    TempDir dir;
    CProjectModified map;
    Built b = BuildSong(p, dir.File("x.wav"), map, true);
    EXPECT_EQ(b.outcome.status, BuildStatus::Failed);
    EXPECT_FALSE(b.observer.AnythingShown());
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.wav")));
}

namespace {

struct ConvertCase {
    double in;
    int64_t expected; // the stored integer (8-bit: the unsigned byte)
};

int64_t ConvertOne(double x, int bits) {
    uint8_t out[8] = {};
    const size_t n = ConvertSamples(&x, 1, bits, out);
    EXPECT_EQ(n, size_t(bits / 8));
    int64_t v = 0;
    for (size_t i = 0; i < n; ++i)
        v |= int64_t(out[i]) << (8 * i);
    if (bits == 16)
        return int16_t(v);
    if (bits == 24)
        return (v ^ 0x800000) - 0x800000;
    return v;
}

} // namespace

TEST(BuildConvert, IntegerWidthsRoundAndSaturate) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        int bits;
        std::vector<ConvertCase> cases;
    } table[] = {
        {16,
         {{0, 0},
          {1, 32767},
          {-1, -32767},
          {2.5, 32767},
          {-2.5, -32768},
          {0.5, 16384},
          {-0.5, -16383},
          {inf, 32767},
          {-inf, -32768},
          {nan, 0},
          {1e300, 32767}}},
        {24,
         {{1, 8388607}, {-1, -8388607}, {3, 8388607}, {-3, -8388608}, {nan, 0}, {-inf, -8388608}}},
        {8, {{0, 128}, {1, 255}, {-1, 1}, {4, 255}, {-4, 0}, {nan, 128}, {inf, 255}}},
    };
    for (const auto& row : table)
        for (const ConvertCase& c : row.cases)
            EXPECT_EQ(ConvertOne(c.in, row.bits), c.expected) << row.bits << " bits, " << c.in;
}

TEST(BuildConvert, FloatWidthsKeepValuesBeyondFullScale) {
    for (double x : {0.25, 1.75, -3.5, 1e10}) {
        double d = 0;
        uint8_t out[8];
        ASSERT_EQ(ConvertSamples(&x, 1, 64, out), 8u);
        std::memcpy(&d, out, 8);
        EXPECT_EQ(d, x);
        float f = 0;
        ASSERT_EQ(ConvertSamples(&x, 1, 32, out), 4u);
        std::memcpy(&f, out, 4);
        EXPECT_EQ(f, float(x));
    }
    // Beyond the float range the value becomes an infinity, not undefined behaviour.
    const double huge = 1e300;
    uint8_t out[4];
    float f = 0;
    ConvertSamples(&huge, 1, 32, out);
    std::memcpy(&f, out, 4);
    EXPECT_TRUE(std::isinf(f));
    EXPECT_EQ(ConvertSamples(&huge, 1, 12, out), 0u);
}

TEST(BuildConvert, LoudTrackSaturatesIntegersAndKeepsFloats) {
    // [GIVEN] a square track far beyond full scale (track volume 4x, master and note full)
    for (int bits : {8, 16, 24, 32, 64}) {
        CProject p = Song(1, 8000, bits);
        p.data.reductionPuchiNoise = 0;
        p.data.volumes.Assign({{0, 255}});
        p.tracks[0].settings.volume = 1023;
        AddNote(p, 0, 0, 1, 59);
        TempDir dir;
        ASSERT_TRUE(FullBuild(p, dir.File("loud.wav")));
        const auto b = ReadBytes(dir.File("loud.wav"));
        const size_t width = size_t(bits / 8);
        double peak = 0;
        for (size_t at = 44; at + width <= 44 + CheckValidWave(b); at += width) {
            double v = 0;
            if (bits == 64) {
                std::memcpy(&v, &b[at], 8);
            } else if (bits == 32) {
                float f;
                std::memcpy(&f, &b[at], 4);
                v = f;
            } else if (bits == 16) {
                v = I16At(b, at) / 32767.0;
            } else if (bits == 8) {
                v = (b[at] - 128) / 127.0;
            } else {
                const uint32_t u = b[at] | b[at + 1] << 8 | b[at + 2] << 16;
                const int32_t n = int32_t(u ^ 0x800000) - 0x800000;
                v = n / 8388607.0;
            }
            peak = std::max(peak, std::abs(v));
        }
        // [THEN] integer output stops at full scale; float output keeps the overshoot
        if (bits <= 24)
            EXPECT_NEAR(peak, bits == 8 ? 128 / 127.0 : 1.0, 2e-4) << bits;
        else
            EXPECT_GT(peak, 1.5) << bits;
    }
}
