// Envelope, LFO, click-noise reduction and fade-out, against values worked out by hand.
// Songs run at tempo 120, so 480 ticks are 0.5 s.

#include "EngineTestSongs.h"
#include "engine/CPhaseCache.h"
#include "engine/Voice.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testsong;

namespace {

CEnvelope Adsr(int attack, int decay, int sustain, int release, int sustainLevel) {
    CEnvelope e;
    e.attack = attack;
    e.decay = decay;
    e.sustain = sustain;
    e.release = release;
    e.sustainLevel = sustainLevel;
    return e;
}

struct At {
    double t;
    double expected;
};

void ExpectLevels(const CEnvelope& e, const CProject& p, const CNote& n,
                  std::initializer_list<At> cases) {
    for (const At& c : cases)
        EXPECT_NEAR(GetLevel(e, c.t, p, n), c.expected, 1e-12) << "t = " << c.t;
}

} // namespace

TEST(Envelope, AttackDecaySustainAndReleaseInsideTheNote) {
    const CProject p = Bare(44100);
    // a 2 s note released 0.5 s before its end (key-off at 1500 ms)
    const CNote n = Note(0, 1920, 50, 480);
    const CEnvelope e = Adsr(100, 100, -1, 200, 127);
    const double ls = 127 / 255.0;
    ExpectLevels(e, p, n,
                 {{0, 0},
                  {0.05, 0.5},
                  {0.1, 1},
                  {0.15, 1 - 0.5 * (1 - ls)},
                  {1.0, ls},
                  {1.5, ls},
                  {1.6, ls / 2},
                  {1.7, 0},
                  {1.95, 0}});
    EXPECT_NEAR(GetReleaseTime(e, p, n), ls * 0.2, 1e-12);

    CEnvelope from = e;
    from.attackLevel = 51; // the attack starts at 0.2
    ExpectLevels(from, p, n, {{0, 0.2}, {0.05, 0.6}});
}

TEST(Envelope, SustainRateAndReleaseModes) {
    const CProject p = Bare(44100);
    const CNote n = Note(0, 1920, 50, 480);
    const double ls = 102 / 255.0;
    // sustain 1000 ms: the level falls from the sustain level to 0 after the decay
    ExpectLevels(Adsr(0, 200, 1000, 0, 102), p, n, {{0.7, ls / 2}, {1.2, 0}});
    // sustain 0: silence once the decay ends
    ExpectLevels(Adsr(0, 200, 0, 0, 102), p, n, {{0.1, 1 - 0.5 * (1 - ls)}, {0.3, 0}});
    // release 0: the sustain holds until key-off and is silent from then on
    ExpectLevels(Adsr(0, 0, -1, 0, 102), p, n, {{1.5, ls}, {1.5001, 0}});
    // release -1: the level at key-off is kept to the note's end
    const CEnvelope hold = Adsr(0, 0, -1, -1, 102);
    ExpectLevels(hold, p, n, {{1.9, ls}});
    EXPECT_NEAR(GetReleaseTime(hold, p, n), 0.5, 1e-12);
    EXPECT_EQ(GetReleaseTime(Adsr(0, 0, -1, 0, 102), p, n), 0);
}

TEST(Envelope, NegativeDelayCountsFromTheNoteEndAndNeverReleases) {
    const CProject p = Bare(44100);
    const CNote n = Note(0, 1920, 50, 480); // 2 s, key-off at 1.5 s
    CEnvelope e = Adsr(0, 0, -1, 0, 255);
    e.delay = -500;
    ExpectLevels(e, p, n, {{0.5, 0}, {1.4999, 0}, {1.5, 1}, {1.9, 1}});
    e.attack = 200;
    ExpectLevels(e, p, n, {{1.6, 0.5}, {1.75, 1}});
}

TEST(Envelope, CurvesAndOverallLevel) {
    const CProject p = Bare(44100);
    const CNote n = Note(0, 1920, 50);
    CEnvelope e = Adsr(100, 0, -1, 0, 255);
    e.curve = 1; // S-curve: (16^(2e) - 1) / 15 / 2 below the middle
    ExpectLevels(e, p, n, {{0.025, 0.1}, {0.05, 0.5}, {0.075, 0.9}, {0.5, 1}});
    e.curve = 2; // square law
    ExpectLevels(e, p, n, {{0.05, 0.25}});
    e.curve = 0;
    e.level = 0; // -96 dB
    ExpectLevels(e, p, n, {{0.05, 0.5 * std::pow(10, -4.8)}});
    e.level = 170; // -32 dB
    ExpectLevels(e, p, n, {{0.5, std::pow(10, -4.8 / 3)}});
}

TEST(Envelope, KeyScalingShortensTimesForHigherKeys) {
    CProject p = Bare(44100);
    CEnvelope e = Adsr(100, 0, -1, 0, 255);
    e.keyScaling = 16;
    // key 47 with transpose 0: factor 1 - 48/96 = 1/2, so the attack lasts 50 ms
    ExpectLevels(e, p, Note(0, 1920, 47), {{0.025, 0.5}, {0.05, 1}});
    e.keyScaling = 8; // factor 3/4
    ExpectLevels(e, p, Note(0, 1920, 47), {{0.0375, 0.5}});
    // the lowest key at transpose 0 is unscaled
    ExpectLevels(e, p, Note(0, 1920, 95), {{0.05, 0.5}});
}

TEST(Envelope, KeyScalingThatReachesZeroOrBelowStaysFinite) {
    // [GIVEN] key 0 transposed up with key scaling 16: the factor is 0 (transpose 1) or
    // negative (transpose 40); the sustain rate would divide by it
    for (int transpose : {1, 40}) {
        CProject p = Bare(44100);
        p.data.transpose = transpose;
        const CNote n = Note(0, 1920, 0, 480);
        CEnvelope falling = Adsr(100, 100, 500, 200, 200);
        falling.keyScaling = 16;
        CEnvelope holding = falling;
        holding.sustain = -1;
        // [THEN] every time shrinks to 0: a falling sustain is over at once, a held one
        // holds, and the release is instant
        for (double t : {0.0, 0.001, 0.5, 1.49, 1.51, 1.99}) {
            EXPECT_EQ(GetLevel(falling, t, p, n), 0) << t;
            EXPECT_EQ(GetLevel(holding, t, p, n), t < 1.5 ? 200 / 255.0 : 0) << t;
        }
        EXPECT_EQ(GetReleaseTime(falling, p, n), 0);
        CTrack& track = AddTrack(p, 3);
        track.settings.envelope = holding;
        p.data.reductionPuchiNoise = 1;
        CPhaseCache cache;
        for (int i = 0; i < 2000; ++i)
            EXPECT_TRUE(std::isfinite(GetSample(n, i / 1000.0, p, track, cache, true)));
    }
}

TEST(Lfo, DelayFadeAndWaveforms) {
    const CTempoList tempos;
    const CNote n = Note(0, 1920, 50); // 2 s
    CLFO lfo{1, 0, 50, 100, 100, 256}; // triangle, delay 50, fade 100, period 100, full depth
    EXPECT_EQ(GetValue(lfo, 0.04, n, tempos), 0);
    EXPECT_EQ(GetValue(lfo, 0.05, n, tempos), 0);
    EXPECT_NEAR(GetValue(lfo, 0.075, n, tempos), 0.25, 1e-12); // peak, a quarter faded in
    EXPECT_NEAR(GetValue(lfo, 0.175, n, tempos), 1, 1e-12);
    EXPECT_NEAR(GetValue(lfo, 0.2, n, tempos), 0, 1e-12);
    EXPECT_NEAR(GetValue(lfo, 0.225, n, tempos), -1, 1e-12);
    EXPECT_NEAR(GetValue(lfo, 0.275, n, tempos), 1, 1e-12);
    lfo.invert = 1;
    EXPECT_NEAR(GetValue(lfo, 0.275, n, tempos), -1, 1e-12);

    const CLFO square{0, 0, 0, 0, 100, 128};
    EXPECT_EQ(GetValue(square, 0.01, n, tempos), 0.5);
    EXPECT_EQ(GetValue(square, 0.06, n, tempos), -0.5);
    const CLFO saw{2, 0, 0, 0, 100, 256};
    EXPECT_NEAR(GetValue(saw, 0.025, n, tempos), 0.5, 1e-12);
    const CLFO sine{3, 0, 0, 0, 100, 256};
    EXPECT_NEAR(GetValue(sine, 0.025, n, tempos), 1, 1e-12);
    // period or depth 0 switch the LFO off
    EXPECT_EQ(GetValue(CLFO{3, 0, 0, 0, 0, 256}, 0.025, n, tempos), 0);
    EXPECT_EQ(GetValue(CLFO{3, 0, 0, 0, 100, 0}, 0.025, n, tempos), 0);
}

TEST(Lfo, NegativeDelayCountsFromTheNoteEnd) {
    const CTempoList tempos;
    const CNote n = Note(0, 1920, 50); // 2 s
    const CLFO lfo{1, 0, -200, 0, 100, 256};
    EXPECT_EQ(GetValue(lfo, 1.799, n, tempos), 0);
    EXPECT_NEAR(GetValue(lfo, 1.825, n, tempos), 1, 1e-12);
}

TEST(Lfo, PitchAndAmplitudeModulation) {
    CProject p = Bare(44000);
    CTrack& t = AddTrack(p, 3);
    t.settings.pitchLFO = {3, 0, 0, 0, 400, 3072}; // up to an octave, peak at 100 ms
    const CNote n = Note(0, 1920, 50);
    EXPECT_NEAR(GetFrequency(n, 0.1, p, t, nullptr), 880, 1e-9);
    EXPECT_NEAR(GetFrequency(n, 0.3, p, t, nullptr), 220, 1e-9);
    // an FM operator adds its own vibrato to the track's
    t.settings.fm.operators[1].pitchLFO = {3, 0, 0, 0, 400, 3072};
    t.settings.fm.operators[1].multiple = 0.5;
    EXPECT_NEAR(GetFrequency(n, 0.1, p, t, &t.settings.fm.operators[1]), 880, 1e-9);

    CTrack& trem = AddTrack(p, 0);
    trem.settings.ampLFO = {0, 0, 0, 0, 100, 128}; // +50 % then -50 %
    CPhaseCache a, b;
    // both on the square's high half (phases 4.4 and 26.4)
    EXPECT_NEAR(GetSample(n, 0.01, p, trem, a, false), 1.5, 1e-12);
    EXPECT_NEAR(GetSample(n, 0.06, p, trem, b, false), 0.5, 1e-12);
}

TEST(ClickReduction, FadesNoteEdgesOverFiveMilliseconds) {
    CProject p = Bare(44100);
    p.data.reductionPuchiNoise = 1;
    CTrack& t = AddTrack(p, 3);
    const CNote n = Note(0, 1920, 50); // 2 s, no key-off, no release
    const double g = 1 - 7.0 / 63;     // 64^(1/2) = 8 halfway through the fade
    for (const At& c : {At{0, 0}, At{0.0025, g}, At{0.005, 1}, At{1, 1}, At{1.9975, g}, At{2, 0}})
        EXPECT_NEAR(GetClickGain(n, c.t, p, t), c.expected, 1e-12) << c.t;
    // the sound ends at key-off when the release is instant
    const CNote early = Note(0, 1920, 50, 960);
    EXPECT_NEAR(GetClickGain(early, 0.9975, p, t), g, 1e-12);
    EXPECT_EQ(GetClickGain(early, 1.2, p, t), 0);
    // a release of 200 ms at full level lets it sound 200 ms longer
    t.settings.envelope.release = 200;
    EXPECT_NEAR(GetClickGain(early, 1.1975, p, t), g, 1e-12);
    // the fade-in starts at the envelope's delay
    t.settings.envelope.delay = 100;
    EXPECT_EQ(GetClickGain(n, 0.05, p, t), 0);
    EXPECT_NEAR(GetClickGain(n, 0.1025, p, t), g, 1e-12);
    p.data.reductionPuchiNoise = 0;
    EXPECT_EQ(GetClickGain(n, 0, p, t), 1);

    // a note sample starts from 0 with the reduction on
    p.data.reductionPuchiNoise = 1;
    t.settings.envelope.delay = 0;
    CPhaseCache cache;
    EXPECT_EQ(GetSample(n, 0, p, t, cache, false), 0);
}

TEST(FadeOut, ShapesTheLastMillisecondsOfTheSong) {
    CProject p = Bare(44100);
    AddTrack(p, 3).AddNote(Note(0, 3840, 50)); // the song lasts 4 s
    p.data.fadeOut = 1000;
    EXPECT_EQ(GetFadeGain(2.9, p), 1);
    EXPECT_NEAR(GetFadeGain(3.5, p), 0.5, 1e-12);
    EXPECT_NEAR(GetFadeGain(3.25, p), 0.75, 1e-12);
    EXPECT_NEAR(GetFadeGain(4.0, p), 0, 1e-12);
    p.data.fadeOutType = 1;
    EXPECT_NEAR(GetFadeGain(3.5, p), 0.5, 1e-12);
    EXPECT_NEAR(GetFadeGain(3.25, p), 0.9, 1e-12);
    p.data.fadeOutType = 2;
    EXPECT_NEAR(GetFadeGain(3.5, p), 0.25, 1e-12);
    // past the end the gain stays 0 rather than turning negative
    p.data.fadeOutType = 0;
    EXPECT_EQ(GetFadeGain(4.5, p), 0);
    // no fade-out: 1 everywhere, also at and after the end (no division by 0)
    p.data.fadeOut = 0;
    EXPECT_EQ(GetFadeGain(4.0, p), 1);
    EXPECT_EQ(GetFadeGain(5.0, p), 1);
}
