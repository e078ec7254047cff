#include "EngineTestSongs.h"
#include "ReferenceVoice.h"
#include "engine/CPhaseCache.h"
#include "engine/CSongRenderer.h"
#include "engine/Voice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace testsong;

namespace {

// A song that exercises every part of the voice at once: tempo and master-volume changes,
// vibrato, tremolo, glides, FM with feedback and per-operator vibrato, looped PCM, notes
// crossing bucket boundaries and seconds, a muted track and a fade-out.
CProject RichSong(int rate, int channels) {
    CProject p = Bare(rate, channels);
    p.data.tempos.Assign({{0, 120.0}, {1920, 90.0}, {4800, 150.0}});
    p.data.volumes.Assign({{0, 200}, {2400, 150}});
    p.data.reductionPuchiNoise = 1;
    p.data.fadeOut = 1500;
    p.data.fadeOutType = 1;
    p.data.transpose = 2;

    CTrack& sine = AddTrack(p, 3, 300);
    sine.settings.pan = -100;
    sine.settings.pitchLFO = {1, 0, 100, 200, 150, 64};
    sine.settings.ampLFO = {3, 0, 0, 0, 300, 40};
    sine.settings.envelope = {1, 0, 80, 120, -1, 300, 20, 180, 255, 8};
    sine.AddNote(Note(0, 7000, 50, 480));
    sine.AddNote(Note(960, 480, 62, 0, 200));

    CTrack& square = AddTrack(p, 0, 200);
    square.settings.duty = -128;
    square.settings.pan = 120;
    square.settings.pseudoWave = 4;
    square.AddNote(Glide(Note(100, 1900, 55, 100), 200, 900, 700));
    square.AddNote(Glide(Note(2400, 2600, 45), 0, 1200, -1536));

    CTrack& fm = AddTrack(p, 7, 180);
    fm.settings.fm.algorithm = 4;
    auto& ops = fm.settings.fm.operators;
    ops[0].feedback = 3;
    ops[0].multiple = 2;
    ops[0].envelope = {0, 0, 50, 300, -1, 100, 0, 150, 230, 0};
    ops[1].multiple = 1;
    ops[1].detune = 40;
    ops[1].pitchLFO = {3, 0, 50, 0, 90, 40};
    ops[2].multiple = 0.5;
    ops[2].ampLFO = {1, 0, 0, 100, 200, 100};
    ops[3].envelope = {2, 0, 10, 200, 2000, 150, 0, 200, 255, 4};
    fm.settings.pitchLFO = {0, 1, 300, 0, 250, 20};
    fm.AddNote(Note(0, 5000, 57, 300));
    fm.AddNote(Glide(Note(5200, 1500, 52), 100, 400, 512));

    CTrack& fm5 = AddTrack(p, 7, 150);
    fm5.settings.fm.algorithm = 5;
    fm5.settings.fm.operators[0].feedback = 2;
    fm5.settings.fm.operators[0].multiple = 3;
    fm5.settings.fm.operators[2].envelope.level = 0;
    fm5.settings.envelope.delay = -300;
    fm5.AddNote(Note(1000, 3000, 60));

    CTrack& pcm = AddTrack(p, 5, 255);
    std::vector<float> mono;
    for (int i = 0; i < 3000; ++i)
        mono.push_back(float(0.6 * std::sin(0.0775 * i)));
    SetPcmFloat(pcm.settings.pcm, mono, 1, 11025);
    pcm.settings.pcm.baseKey = 59;
    pcm.settings.pcm.loopUnit = 1;
    pcm.settings.pcm.loopStart = 1000;
    pcm.settings.pcm.loopEnd = 2500;
    pcm.settings.pcm.loopCount = 0;
    pcm.settings.detune = 30;
    pcm.AddNote(Note(200, 6000, 56, 200));

    CTrack& pcmStereo = AddTrack(p, 5, 255);
    std::vector<int32_t> stereo;
    for (int i = 0; i < 4000; ++i) {
        stereo.push_back((i * 3701) % 4000000 - 2000000);
        stereo.push_back((i * 5303) % 3000000 - 1500000);
    }
    SetPcm24(pcmStereo.settings.pcm, stereo, 2, 16000);
    pcmStereo.settings.pcm.loopStart = 20;
    pcmStereo.settings.pcm.loopEnd = 120;
    pcmStereo.settings.pcm.loopCount = 3;
    pcmStereo.AddNote(Note(3000, 3000, 66));

    CTrack& noise = AddTrack(p, 4, 100);
    noise.settings.pitchLFO = {2, 0, 0, 0, 400, 300};
    noise.AddNote(Note(1500, 900, 70));

    CTrack& wave = AddTrack(p, 6, 255);
    wave.settings.waveMemory.SetSize(32, 16);
    for (int i = 0; i < 32; ++i)
        wave.settings.waveMemory.samples[size_t(i)] = (i * 5) % 17 - 8;
    wave.settings.invert = 1;
    wave.AddNote(Note(3500, 2500, 40, 600));

    CTrack& triangle = AddTrack(p, 1, 255);
    triangle.settings.envelope.delay = -500;
    triangle.AddNote(Note(0, 3840, 48));

    CTrack& muted = AddTrack(p, 2, 255);
    muted.settings.mute = 1;
    muted.AddNote(Note(0, 5000, 50));
    return p;
}

// Both sides round differently (closed-form against summed catch-ups, polynomial against
// library sine and exponential); FM multiplies phase differences by up to 8 pi per
// modulation stage. The largest difference seen is about 1e-8; 1e-6 is still far below
// one step of 16-bit output.
constexpr double kTolerance = 1e-6;

int FramesOf(const CSongRenderer& r, int second) {
    const double len = r.LengthSeconds();
    if (second < int(std::floor(len)))
        return r.Rate();
    return int(std::ceil((len - std::floor(len)) * r.Rate()));
}

void ExpectSameSecond(const CSongRenderer& r, const CProject& p, int second, double tolerance) {
    const int frames = FramesOf(r, second);
    std::vector<double> fast(size_t(frames) * size_t(r.Channels()));
    r.RenderSecond(second, frames, fast.data());
    const std::vector<double> slow = ref::RenderSecond(p, second, frames);
    ASSERT_EQ(fast.size(), slow.size());
    double worst = 0;
    size_t at = 0;
    for (size_t i = 0; i < fast.size(); ++i) {
        const double d = std::fabs(fast[i] - slow[i]);
        if (d > worst) {
            worst = d;
            at = i;
        }
    }
    EXPECT_LE(worst, tolerance) << "second " << second << " value " << at << ": " << fast[at]
                                << " vs " << slow[at];
}

} // namespace

TEST(SongRenderer, MatchesFrameByFrameEvaluationOfTheVoice) {
    // [GIVEN] a song using every source and modulator, stereo at 8000 Hz
    const CProject p = RichSong(8000, 2);
    const CSongRenderer r(p);
    ASSERT_GT(r.LengthSeconds(), 4.0);
    // [THEN] every second, rendered in a scrambled order, equals the plain evaluation
    const int seconds = int(std::ceil(r.LengthSeconds()));
    for (int s : {3, 0, 2, 1})
        ExpectSameSecond(r, p, s, kTolerance);
    for (int s = 4; s < seconds; ++s)
        ExpectSameSecond(r, p, s, kTolerance);
}

TEST(SongRenderer, MatchesInMonoAtAnotherRate) {
    const CProject p = RichSong(11025, 1);
    const CSongRenderer r(p);
    for (int s : {2, 4})
        ExpectSameSecond(r, p, s, kTolerance);
}

TEST(SongRenderer, MatchesAtAudioRateAcrossLongSeconds) {
    CProject p = Bare(44100, 2);
    p.data.reductionPuchiNoise = 1;
    CTrack& sine = AddTrack(p, 3);
    sine.settings.pitchLFO = {3, 0, 200, 300, 170, 50};
    sine.AddNote(Note(0, 2400, 52, 240));
    CTrack& fm = AddTrack(p, 7);
    fm.settings.fm.operators[0].feedback = 2;
    fm.settings.pan = 60;
    fm.AddNote(Note(300, 1800, 60));
    const CSongRenderer r(p);
    ExpectSameSecond(r, p, 1, kTolerance);
}

TEST(SongRenderer, ResultDoesNotDependOnWhatWasRenderedBefore) {
    // [GIVEN] long notes with vibrato and glides, rendered by one renderer in scrambled order
    const CProject p = RichSong(8000, 2);
    const CSongRenderer shared(p);
    const int seconds = int(std::ceil(shared.LengthSeconds()));
    std::vector<std::vector<double>> first(static_cast<size_t>(seconds));
    std::vector<int> order = {5, 2, 6, 0, 3, 1, 4};
    for (int s = 7; s < seconds; ++s)
        order.push_back(s);
    ASSERT_EQ(int(order.size()), seconds);
    for (int s : order) {
        first[size_t(s)].resize(size_t(FramesOf(shared, s)) * 2);
        shared.RenderSecond(s, FramesOf(shared, s), first[size_t(s)].data());
    }
    // [THEN] a fresh renderer per second and a second pass give the very same numbers
    for (int s = 0; s < seconds; ++s) {
        const CSongRenderer fresh(p);
        std::vector<double> alone(first[size_t(s)].size());
        fresh.RenderSecond(s, FramesOf(fresh, s), alone.data());
        EXPECT_EQ(alone, first[size_t(s)]) << "second " << s;
        std::vector<double> again(alone.size());
        shared.RenderSecond(s, FramesOf(shared, s), again.data());
        EXPECT_EQ(again, first[size_t(s)]) << "second " << s;
    }
}

TEST(SongRenderer, PanAttenuatesOneSide) {
    CProject mono = Bare(8000, 1);
    AddTrack(mono, 3, 255).AddNote(Note(0, 960, 50));
    std::vector<double> m(8000);
    CSongRenderer(mono).RenderSecond(0, 8000, m.data());

    struct PanCase {
        int pan;
        double left, right;
    };
    for (const PanCase& c : {PanCase{0, 1, 1}, PanCase{128, 0.5, 1}, PanCase{-255, 1, 1 / 256.0},
                             PanCase{255, 1 / 256.0, 1}}) {
        CProject stereo = mono;
        stereo.data.channels = 2;
        stereo.tracks[0].settings.pan = c.pan;
        std::vector<double> out(16000);
        CSongRenderer(stereo).RenderSecond(0, 8000, out.data());
        for (int j = 0; j < 8000; j += 37) {
            EXPECT_NEAR(out[2 * size_t(j)], c.left * m[size_t(j)], 1e-15) << c.pan;
            EXPECT_NEAR(out[2 * size_t(j) + 1], c.right * m[size_t(j)], 1e-15) << c.pan;
        }
    }
}

TEST(SongRenderer, NotesSoundExactlyDuringTheirTicksAndMutedTracksNever) {
    CProject p = Bare(8000, 1);
    AddTrack(p, 0).AddNote(Note(480, 480, 50)); // 0.5 s to 1 s
    CTrack& muted = AddTrack(p, 0);
    muted.settings.mute = 1;
    muted.AddNote(Note(0, 3840, 50));
    const CSongRenderer r(p);
    EXPECT_DOUBLE_EQ(r.LengthSeconds(), 4.0); // muted notes still count for the length
    std::vector<double> out(8000);
    r.RenderSecond(0, 8000, out.data());
    for (int j = 0; j < 4000; ++j)
        ASSERT_EQ(out[size_t(j)], 0) << j;
    EXPECT_NE(out[4001], 0);
    r.RenderSecond(1, 8000, out.data());
    for (double v : out)
        ASSERT_EQ(v, 0);
}

TEST(SongRenderer, DamagedSettingsRenderFiniteSamples) {
    // [GIVEN] a song whose tracks carry every setting that would divide by zero, overflow
    // or read outside the data
    CProject p = Bare(8000, 2);
    p.data.transpose = 100;
    p.data.reductionPuchiNoise = 1;
    CTrack& scaled = AddTrack(p, 3);
    scaled.settings.envelope = {1, 0, 100, 100, 500, 200, 0, 200, 255, 16};
    scaled.AddNote(Note(0, 1920, 0, 480));
    CTrack& fm = AddTrack(p, 7);
    fm.settings.fm.operators[0].multiple = std::numeric_limits<double>::infinity();
    fm.settings.fm.operators[1].multiple = std::numeric_limits<double>::quiet_NaN();
    fm.settings.fm.operators[2].multiple = 1e308;
    fm.settings.fm.operators[3].feedback = 9;
    fm.settings.fm.algorithm = 7;
    fm.AddNote(Note(0, 1920, 50));
    CTrack& loud = AddTrack(p, 0);
    loud.settings.envelope.level = 100000; // 10^(4.8 * 391) overflows
    loud.AddNote(Note(0, 1920, 50));
    CTrack& flat = AddTrack(p, 6);
    flat.settings.waveMemory.height = 1;
    flat.AddNote(Note(0, 1920, 50));
    CTrack& negative = AddTrack(p, 6);
    negative.settings.waveMemory.height = -16;
    negative.settings.waveMemory.samples.assign(32, 5);
    negative.AddNote(Note(0, 1920, 50));
    CTrack& empty = AddTrack(p, 6);
    empty.settings.waveMemory.samples.clear();
    empty.AddNote(Note(0, 1920, 50));
    CTrack& pcm = AddTrack(p, 5);
    SetPcm16(pcm.settings.pcm, {1000, 2000}, 1, 8000);
    pcm.settings.pcm.sampleFormat.channels = 0;
    pcm.AddNote(Note(0, 1920, 50));
    // [THEN] every sample is finite; the FM voice keeps its one sound operator
    const CSongRenderer r(p);
    std::vector<double> out(16000);
    double fmEnergy = 0;
    for (int s = 0; s < 2; ++s) {
        r.RenderSecond(s, 8000, out.data());
        for (double v : out) {
            ASSERT_TRUE(std::isfinite(v));
            fmEnergy += v * v;
        }
    }
    EXPECT_GT(fmEnergy, 0);
    for (size_t k = 1; k < p.tracks.size(); ++k)
        p.tracks[k].settings.mute = k != 1;
    p.tracks[0].settings.mute = 1;
    const CSongRenderer fmOnly(p);
    fmOnly.RenderSecond(0, 8000, out.data());
    EXPECT_GT(std::fabs(out[800]), 0);
}

TEST(SongRenderer, TimesBeyondTheRangeOfDoublesAreSilent) {
    // a tempo so slow that the note's end in seconds overflows
    CProject p = Bare(8000, 1);
    p.data.tempos.Assign({{0, 1e-306}});
    AddTrack(p, 3).AddNote(Note(0, 1920, 50));
    const CSongRenderer r(p);
    std::vector<double> out(8000, 1.0);
    r.RenderSecond(0, 8000, out.data());
    for (double v : out)
        ASSERT_EQ(v, 0);
    CPhaseCache cache;
    EXPECT_EQ(GetSample(*p.tracks[0].Bucket(0).front(), 0.5, p, p.tracks[0], cache, true), 0);
}

TEST(SongRenderer, FormatsWithoutARenderingGiveSilence) {
    CProject p = Bare(8000, 3);
    AddTrack(p, 3).AddNote(Note(0, 1920, 50));
    std::vector<double> out(3 * 8000, 1.0);
    CSongRenderer(p).RenderSecond(0, 8000, out.data());
    for (double v : out)
        ASSERT_EQ(v, 0);
    p.data.channels = 1;
    p.data.samplesPerSec = 0;
    const CSongRenderer noRate(p);
    EXPECT_EQ(noRate.Rate(), 0);
    noRate.RenderSecond(0, 10, out.data());
    for (int j = 0; j < 10; ++j)
        ASSERT_EQ(out[size_t(j)], 0);
}

TEST(PreviewNote, LongestNoteStartsAtTimeZero) {
    // the live preview's note: position 0, the longest length, key 95 - 45 = 50
    CProject p = Bare(44000);
    CTrack& t = AddTrack(p, 3);
    CNote n = Note(0, std::numeric_limits<int32_t>::max(), 50);
    CPhaseCache cache;
    std::vector<double> out;
    for (int i = 0; i < 200; ++i)
        out.push_back(GetSample(n, i / 44000.0, p, t, cache, false));
    EXPECT_EQ(out[0], 0);
    EXPECT_NEAR(out[25], 1, 1e-12);
    EXPECT_NEAR(out[175], -1, 1e-12);
    EXPECT_NEAR(GetPhase(n, 1.0, p, t, cache, nullptr), 440, 1e-9);
}
