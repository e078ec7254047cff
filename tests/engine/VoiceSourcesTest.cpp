// Sources of the note sample function with values worked out by hand. Most cases use a
// rate of 44000 Hz and key 50 (440 Hz), so that frame i lies at exactly i/100 of a cycle,
// and a project where every gain is 1 (full volumes, no click reduction, no fade).

#include "EngineTestSongs.h"
#include "engine/CPhaseCache.h"
#include "engine/NoiseTable.h"
#include "engine/Voice.h"
#include "engine/internal/VoiceMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace testsong;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The sample at frame i of a note that started at 0, from a fresh cache (so it is caught up
// from the note's start).
double SampleAt(const CProject& p, const CTrack& t, const CNote& n, int frame) {
    CPhaseCache cache;
    return GetSample(n, double(frame) / p.data.samplesPerSec, p, t, cache, false);
}

struct Frames {
    int frame;
    double expected;
};

void ExpectFrames(const CProject& p, const CTrack& t, const CNote& n,
                  std::initializer_list<Frames> cases) {
    for (const Frames& c : cases)
        EXPECT_NEAR(SampleAt(p, t, n, c.frame), c.expected, 1e-9) << "frame " << c.frame;
}

} // namespace

TEST(VoicePhase, KeyFiftyRuns440CyclesPerSecond) {
    CProject p = Bare(44100);
    CTrack& t = AddTrack(p, 3);
    const CNote n = Note(0, 1920, 50);
    EXPECT_NEAR(GetFrequency(n, 0.5, p, t, nullptr), 440.0, 1e-12);
    EXPECT_NEAR(GetFrequency(Note(0, 1920, 59), 0.5, p, t, nullptr), 261.6255653005986, 1e-9);

    // [WHEN] met for the first time at 1 s: caught up from the note's start
    CPhaseCache fresh;
    EXPECT_NEAR(GetPhase(n, 1.0, p, t, fresh, nullptr), 440.0, 1e-9);
    // [WHEN] followed frame by frame from the start
    CPhaseCache running;
    double phase = 0;
    for (int i = 0; i <= 44100; ++i)
        phase = GetPhase(n, i / 44100.0, p, t, running, nullptr);
    EXPECT_NEAR(phase, 440.0, 1e-9);
    EXPECT_EQ(running.NoteCount(), 1u);
    ASSERT_NE(running.Find(&n, &t, nullptr), nullptr);
    EXPECT_NEAR(running.Find(&n, &t, nullptr)->lastMs, 1000.0, 1e-9);
}

TEST(VoicePhase, TransposeAndDetuneShiftThePitchButNotTheNoise) {
    CProject p = Bare(44100);
    p.data.transpose = 12;
    CTrack& t = AddTrack(p, 3);
    t.settings.detune = -256 * 12;
    EXPECT_NEAR(GetFrequency(Note(0, 1920, 50), 0, p, t, nullptr), 440.0, 1e-9);
    t.settings.detune = 128;
    EXPECT_NEAR(GetFrequency(Note(0, 1920, 50), 0, p, t, nullptr), 880 * std::pow(2, 0.5 / 12),
                1e-9);

    CTrack& noise = AddTrack(p, 4);
    EXPECT_NEAR(GetFrequency(Note(0, 1920, 95), 0, p, noise, nullptr), 512.0, 1e-12);
    p.data.transpose = -7;
    EXPECT_NEAR(GetFrequency(Note(0, 1920, 95), 0, p, noise, nullptr), 512.0, 1e-12);
}

TEST(VoicePhase, PortamentoGlidesLinearlyInSecondsAndHolds) {
    CProject p = Bare(44100);
    CTrack& t = AddTrack(p, 3);
    // a glide of one octave (3072/256 semitones) from tick 480 (0.5 s) to 1440 (1.5 s)
    const CNote n = Glide(Note(0, 3840, 50), 480, 960, 3072);
    EXPECT_NEAR(GetFrequency(n, 0.25, p, t, nullptr), 440, 1e-9);
    EXPECT_NEAR(GetFrequency(n, 1.0, p, t, nullptr), 440 * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(GetFrequency(n, 1.5, p, t, nullptr), 880, 1e-9);
    EXPECT_NEAR(GetFrequency(n, 1.9, p, t, nullptr), 880, 1e-9);
    // either field at 0 means no glide
    EXPECT_NEAR(GetFrequency(Glide(Note(0, 3840, 50), 480, 0, 3072), 1.9, p, t, nullptr), 440,
                1e-9);
}

TEST(VoiceSources, NoiseStepsThroughTheTable) {
    const auto& table = NoiseTable();
    EXPECT_EQ(table[0], -1);
    EXPECT_EQ(table[1], -1);
    EXPECT_EQ(table[2], 1);

    // key 95 steps 512 entries per second: two frames per entry at 1024 Hz
    CProject p = Bare(1024);
    CTrack& t = AddTrack(p, 4);
    const CNote n = Note(0, 19200, 95);
    ExpectFrames(p, t, n, {{0, -1}, {1, -1}, {2, -1}, {3, -1}, {4, 1}});
    for (int entry = 3; entry < 40; ++entry)
        EXPECT_EQ(SampleAt(p, t, n, 2 * entry + 1), double(table[size_t(entry)]));
    // the table repeats after 4095 entries
    EXPECT_EQ(SampleAt(p, t, n, 2 * 4095 + 4), 1.0);
}

TEST(VoiceSources, BasicWaveformsAtKnownPhases) {
    CProject p = Bare(44000);
    const CNote n = Note(0, 1920, 50);
    CTrack& square = AddTrack(p, 0);
    ExpectFrames(p, square, n, {{0, 1}, {25, 1}, {49, 1}, {50, -1}, {75, -1}, {125, 1}});
    square.settings.duty = -192; // high for the first eighth
    ExpectFrames(p, square, n, {{10, 1}, {12, 1}, {13, -1}, {20, -1}, {110, 1}});
    square.settings.duty = 128; // three quarters
    ExpectFrames(p, square, n, {{70, 1}, {76, -1}});

    CTrack& triangle = AddTrack(p, 1);
    ExpectFrames(p, triangle, n, {{10, 0.4}, {25, 1}, {50, 0}, {60, -0.4}, {90, -0.4}});
    CTrack& saw = AddTrack(p, 2);
    ExpectFrames(p, saw, n, {{25, 0.5}, {50, 0}, {75, -0.5}});
    CTrack& sine = AddTrack(p, 3);
    ExpectFrames(p, sine, n, {{25, 1}, {10, std::sin(0.2 * kPi)}, {75, -1}});
    sine.settings.invert = 1;
    ExpectFrames(p, sine, n, {{25, -1}});
}

TEST(VoiceSources, WaveMemoryStepsWithoutInterpolation) {
    CProject p = Bare(44000);
    CTrack& t = AddTrack(p, 6);
    t.settings.waveMemory.SetSize(32, 16);
    t.settings.waveMemory.samples[0] = -8;
    t.settings.waveMemory.samples[1] = 3;
    t.settings.waveMemory.samples[16] = 5;
    const CNote n = Note(0, 1920, 50);
    // 32 steps per 100 frames: frames 0..3 read sample 0, frame 4 sample 1
    ExpectFrames(p, t, n, {{0, -1}, {3, -1}, {4, 3 / 8.0}, {50, 5 / 8.0}, {51, 5 / 8.0}});
    t.settings.waveMemory.SetSize(64, 32); // doubles every value and the scale
    ExpectFrames(p, t, n, {{4, 3 / 8.0}, {50, 5 / 8.0}});
}

TEST(VoiceSources, PseudoWaveQuantisesToEvenlySpacedLevels) {
    CProject p = Bare(44000);
    const CNote n = Note(0, 1920, 50);
    CTrack& triangle = AddTrack(p, 1);
    triangle.settings.pseudoWave = 2;
    ExpectFrames(p, triangle, n, {{50, 1}, {10, 1}, {60, -1}, {99, -1}});
    triangle.settings.pseudoWave = 1; // changes nothing
    ExpectFrames(p, triangle, n, {{10, 0.4}, {60, -0.4}});
    triangle.settings.pseudoWave = 4; // levels -1, -1/3, 1/3, 1
    ExpectFrames(p, triangle, n, {{10, 1 / 3.0}, {60, -1 / 3.0}});

    CTrack& square = AddTrack(p, 0);
    square.settings.pseudoWave = 2;
    // an input of exactly 1 lands above the top level: (n + 1) / (n - 1)
    ExpectFrames(p, square, n, {{25, 3}, {75, -1}});
}

TEST(VoiceSources, TrackNoteAndMasterVolumesMultiply) {
    CProject p = Bare(44000);
    p.data.volumes.Assign({{0, 255}, {480, 51}});
    CTrack& t = AddTrack(p, 3, 510);
    const CNote n = Note(0, 1920, 50, 0, 128);
    EXPECT_NEAR(SampleAt(p, t, n, 25), 2 * 128 / 255.0, 1e-12);
    // tick 480 is reached at 0.5 s: the master volume steps to 51
    EXPECT_NEAR(SampleAt(p, t, n, 22025), 2 * 128 / 255.0 * 51 / 255.0, 1e-9);
}

namespace {

// FM with operator multiples 1..4, so operator k's phase at frame i is k * i / 100.
CTrack& FmTrack(CProject& p, int algorithm, std::array<bool, 4> on) {
    CTrack& t = AddTrack(p, 7);
    t.settings.fm.algorithm = algorithm;
    for (size_t k = 0; k < 4; ++k) {
        t.settings.fm.operators[k].multiple = double(k + 1);
        t.settings.fm.operators[k].envelope.level = on[k] ? 255 : 0;
    }
    return t;
}

// The operator output by its definition: sin(phase * 2 pi + modulation * 8 pi).
double Op(int k, int frame, double modulation) {
    return std::sin(k * frame / 100.0 * 2 * kPi + modulation * 8 * kPi);
}

} // namespace

TEST(VoiceFm, EachAlgorithmWiresItsOperators) {
    using Wiring = std::function<double(std::function<double(int, double)>)>;
    const Wiring wiring[8] = {
        [](auto O) { return O(4, O(3, O(2, O(1, 0)))); },
        [](auto O) { return O(4, O(3, O(1, 0) + O(2, 0))); },
        [](auto O) { return O(4, O(3, O(2, 0)) + O(1, 0)); },
        [](auto O) { return O(4, O(2, O(1, 0)) + O(3, 0)); },
        [](auto O) { return O(2, O(1, 0)) + O(4, O(3, 0)); },
        [](auto O) { return O(2, O(1, 0)) + O(3, O(1, 0)) + O(4, O(1, 0)); },
        [](auto O) { return O(2, O(1, 0)) + O(3, 0) + O(4, 0); },
        [](auto O) { return O(1, 0) + O(2, 0) + O(3, 0) + O(4, 0); },
    };
    const std::array<std::array<bool, 4>, 3> onSets = {
        {{true, true, true, true}, {true, false, true, true}, {false, true, false, true}}};
    for (int algorithm = 0; algorithm < 8; ++algorithm) {
        for (const auto& on : onSets) {
            CProject p = Bare(44000);
            const CTrack& t = FmTrack(p, algorithm, on);
            const CNote n = Note(0, 1920, 50);
            for (int frame : {7, 33, 61}) {
                auto O = [&](int k, double m) { return on[size_t(k - 1)] ? Op(k, frame, m) : 0.0; };
                EXPECT_NEAR(SampleAt(p, t, n, frame), wiring[algorithm](O), 1e-9)
                    << "algorithm " << algorithm << " frame " << frame;
            }
        }
    }
    CProject p = Bare(44000);
    EXPECT_EQ(SampleAt(p, FmTrack(p, 8, {true, true, true, true}), Note(0, 1920, 50), 7), 0);
}

TEST(VoiceFm, OnlyOperatorOneAudibleIsASineWithItsEnvelope) {
    CProject p = Bare(44000);
    CTrack& t = FmTrack(p, 7, {true, false, false, false});
    t.settings.fm.operators[0].multiple = 1;
    t.settings.fm.operators[0].envelope.attack = 10;
    CTrack& sine = AddTrack(p, 3);
    sine.settings.envelope.attack = 10;
    const CNote n = Note(0, 1920, 50);
    for (int frame : {100, 220, 1000})
        EXPECT_NEAR(SampleAt(p, t, n, frame), SampleAt(p, sine, n, frame), 1e-9);
}

TEST(VoiceFm, FeedbackSevenAddsHalfTheLastOutputToThePhase) {
    CProject p = Bare(44000);
    CTrack& t = FmTrack(p, 7, {true, false, false, false});
    t.settings.fm.operators[0].feedback = 7;
    const CNote n = Note(0, 1920, 50);
    CPhaseCache cache;
    std::vector<double> out;
    for (int i = 0; i < 4; ++i)
        out.push_back(GetSample(n, i / 44000.0, p, t, cache, false));
    EXPECT_EQ(out[0], 0); // phase 0, nothing fed back yet
    EXPECT_NEAR(out[1], Op(1, 1, 0), 1e-12);
    EXPECT_NEAR(out[2], Op(1, 2, 0.5 * out[1]), 1e-12);
    EXPECT_NEAR(out[3], Op(1, 3, 0.5 * out[2]), 1e-12);
}

TEST(VoiceFm, CatchUpRebuildsTheFeedbackMemory) {
    // [GIVEN] feedback 1 (1/128), met for the first time 30000 frames into the note
    CProject p = Bare(44000);
    CTrack& t = FmTrack(p, 7, {true, false, false, false});
    t.settings.fm.operators[0].feedback = 1;
    t.settings.fm.operators[0].envelope.sustainLevel = 200;
    t.settings.fm.operators[0].envelope.decay = 1000;
    const CNote n = Note(0, 7680, 50);
    const int frame = 30000;
    // [THEN] the memory is the catch-up recurrence over every earlier frame, with the
    // envelope taken at the requested time
    const double level = 1 - (frame / 44.0 / 1000) * (1 - 200 / 255.0);
    const double g = level * 1.0 / 128;
    double memory = 0;
    for (int i = 0; i <= frame; ++i)
        memory = g * Op(1, i, memory);
    EXPECT_NEAR(SampleAt(p, t, n, frame), level * Op(1, frame, memory), 1e-12);

    // [AND] a chaotic feedback (7 at full level) still gives bounded, finite samples
    t.settings.fm.operators[0].feedback = 7;
    for (int f : {frame, frame + 1}) {
        const double v = SampleAt(p, t, n, f);
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_LE(std::fabs(v), 1.0);
    }
}

TEST(VoiceSources, SineKeepsItsAccuracyFarIntoANoteAndDamagedPhasesAreSilent) {
    // [GIVEN] phases with many whole cycles before their fraction
    for (const double whole : {0.0, 0x1p20, 0x1p40, 0x1p49}) {
        // [THEN] the whole cycles drop out exactly
        EXPECT_NEAR(voice::SinCycles(whole + 0.25), 1, 1e-15) << whole;
        EXPECT_NEAR(voice::SinCycles(whole + 0.75), -1, 1e-15) << whole;
        EXPECT_NEAR(voice::SinCycles(-whole - 0.125), -std::sqrt(0.5), 1e-15) << whole;
    }
    // [THEN] phases no real note reaches (only damaged settings make them) read as silence
    for (const double damaged : {0x1p60, -1e300, HUGE_VAL, -HUGE_VAL, std::nan("")})
        EXPECT_EQ(voice::SinCycles(damaged), 0) << damaged;
}
