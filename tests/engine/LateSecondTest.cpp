// Seconds rendered late in long notes whose pitch keeps changing. The renderer rebuilds an
// oscillator's phase there without summing every frame since the note's start; the
// reference does sum them all, so any frame the shortcut gets wrong shows up as a phase
// error that lasts for the rest of the note.

#include "EngineTestSongs.h"
#include "ReferenceVoice.h"
#include "engine/CSongRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace testsong;

namespace {

// Both sides round differently; see the renderer tests. A phase error of a single frame's
// step at these pitches is above 1e-3.
constexpr double kTolerance = 1e-6;

// At 120 beats per minute one second is 960 ticks.
constexpr int32_t kSecond = 960;

double WorstDifference(const CProject& p, int second) {
    const CSongRenderer r(p);
    const int frames = r.Rate();
    std::vector<double> fast(size_t(frames) * size_t(r.Channels()));
    r.RenderSecond(second, frames, fast.data());
    const std::vector<double> slow = ref::RenderSecond(p, second, frames);
    double worst = 0;
    for (size_t i = 0; i < fast.size(); ++i)
        worst = std::max(worst, std::fabs(fast[i] - slow[i]));
    return worst;
}

struct VibratoCase {
    const char* name;
    int rate;
    int32_t position;
    CLFO lfo; // waveform, invert, delay, fade, period, depth
};

} // namespace

TEST(LateSecond, VibratoOfEveryWaveformMatchesTheFullIntegration) {
    // [GIVEN] a sine note of 12 s with vibrato; at 8000 Hz from time 0 the square and
    // sawtooth jumps fall on frames (up to rounding), at 11025 Hz one repeat of the frame
    // grid spans several periods
    const VibratoCase cases[] = {
        {"square on frames", 8000, 0, {0, 0, 30, 0, 100, 256}},
        {"square, inverted", 11025, 100, {0, 1, 0, 0, 140, 200}},
        {"triangle", 11025, 100, {1, 0, 0, 0, 90, 300}},
        {"sawtooth on frames", 8000, 0, {2, 0, 15, 0, 250, 400}},
        {"sawtooth", 11025, 100, {2, 0, 0, 0, 130, 150}},
        {"sine fading in for 3 s", 11025, 100, {3, 0, 200, 3000, 170, 120}},
        {"sine counted from the end", 11025, 100, {3, 0, -9000, 500, 60, 80}},
        {"period longer than the note", 11025, 100, {3, 0, 0, 0, 10000, 500}},
    };
    for (const VibratoCase& c : cases) {
        CProject p = Bare(c.rate);
        CTrack& t = AddTrack(p, 3);
        t.settings.pitchLFO = c.lfo;
        t.AddNote(Note(c.position, 12 * kSecond, 50));
        // [THEN] seconds deep into the note equal the frame-by-frame integration
        for (int second : {4, 10})
            EXPECT_LE(WorstDifference(p, second), kTolerance) << c.name << ", second " << second;
    }
}

TEST(LateSecond, GlideUnderVibratoMatchesDuringAndAfterIt) {
    // [GIVEN] a glide of two octaves down over 8 s, with and without a triangle vibrato
    for (const bool vibrato : {false, true}) {
        CProject p = Bare(11025);
        CTrack& t = AddTrack(p, 1);
        if (vibrato)
            t.settings.pitchLFO = {1, 0, 0, 0, 110, 200};
        t.AddNote(Glide(Note(0, 12 * kSecond, 40), kSecond, 8 * kSecond, -24 * 256));
        // [THEN] inside the glide and after it
        for (int second : {7, 10})
            EXPECT_LE(WorstDifference(p, second), kTolerance)
                << (vibrato ? "vibrato" : "plain") << ", second " << second;
    }
}

TEST(LateSecond, FmWithFeedbackAndTwoVibratosMatches) {
    // [GIVEN] FM whose operators take the track's vibrato and, for two of them, their own
    // on top; operator 1 feeds back into itself
    CProject p = Bare(11025, 2);
    CTrack& t = AddTrack(p, 7);
    t.settings.pitchLFO = {3, 0, 200, 0, 180, 30};
    t.settings.fm.algorithm = 1;
    auto& ops = t.settings.fm.operators;
    ops[0].feedback = 3;
    ops[0].pitchLFO = {0, 0, 0, 0, 120, 24};
    ops[1].multiple = 2;
    ops[1].feedback = 2;
    ops[2].pitchLFO = {2, 0, 500, 400, 75, 60};
    t.AddNote(Glide(Note(0, 12 * kSecond, 52), 2 * kSecond, kSecond, 512));
    // [THEN] a late second and the one before it, each rendered alone, equal the reference
    for (int second : {9, 10})
        EXPECT_LE(WorstDifference(p, second), kTolerance) << "second " << second;
}

TEST(LateSecond, SlowVibratoOfEveryWaveformAtEveryRateMatches) {
    // [GIVEN] vibratos of about one and ten seconds per cycle, each waveform, at rates
    // whose frame grid repeats only after many periods (or never within the note)
    for (const int rate : {44100, 48000, 22050, 11025}) {
        for (int32_t waveform = 0; waveform < 4; ++waveform) {
            for (const int32_t period : {997, 9999}) {
                CProject p = Bare(rate);
                CTrack& t = AddTrack(p, 3);
                // Odd waveforms are inverted and start counted from the note's end.
                const int32_t delay = waveform % 2 == 0 ? 30 : -10500;
                t.settings.pitchLFO = {waveform, waveform % 2, delay, 0, period, 300};
                t.AddNote(Note(100, 12 * kSecond, 50));
                // [THEN] a second in the middle and one near the end equal the reference
                for (int second : {6, 11})
                    EXPECT_LE(WorstDifference(p, second), kTolerance)
                        << rate << " Hz, waveform " << waveform << ", period " << period
                        << ", second " << second;
            }
        }
    }
}

TEST(LateSecond, DeepSlowSineVibratoMatches) {
    // [GIVEN] sine vibratos 18 semitones deep, half an octave more than any dialog offers
    for (const int32_t period : {331, 997, 9999}) {
        CProject p = Bare(44100);
        AddTrack(p, 3).settings.pitchLFO = {3, 0, 0, 0, period, 18 * 256};
        p.tracks[0].AddNote(Note(0, 12 * kSecond, 40));
        // [THEN]
        EXPECT_LE(WorstDifference(p, 11), kTolerance) << "period " << period;
    }
}

TEST(LateSecond, SlowVibratoJumpingOnFramesMatches) {
    // [GIVEN] at 8000 Hz from time 0, square and sawtooth jumps of a one-second vibrato fall
    // on frames, where rounding alone decides the side a frame takes
    for (const int32_t waveform : {0, 2}) {
        CProject p = Bare(8000);
        AddTrack(p, 3).settings.pitchLFO = {waveform, 0, 0, 0, 1000, 400};
        p.tracks[0].AddNote(Note(0, 12 * kSecond, 50));
        // [THEN]
        for (int second : {5, 11})
            EXPECT_LE(WorstDifference(p, second), kTolerance)
                << "waveform " << waveform << ", second " << second;
    }
}

TEST(LateSecond, SlowVibratosUnderAGlideAndOnFmOperatorsMatch) {
    // [GIVEN] a glide of an octave up over 6 s under a slow sine vibrato, and FM whose
    // operators add slow vibratos of other waveforms to the track's
    CProject glide = Bare(22050);
    AddTrack(glide, 3).settings.pitchLFO = {3, 0, 0, 0, 1499, 250};
    glide.tracks[0].AddNote(Glide(Note(0, 12 * kSecond, 45), kSecond, 6 * kSecond, 12 * 256));
    CProject fm = Bare(11025, 2);
    CTrack& t = AddTrack(fm, 7);
    t.settings.pitchLFO = {3, 1, 0, 0, 2311, 90};
    t.settings.fm.operators[0].pitchLFO = {1, 0, 0, 0, 997, 60};
    t.settings.fm.operators[2].pitchLFO = {2, 0, 250, 0, 3001, 40};
    t.AddNote(Glide(Note(0, 12 * kSecond, 52), 2 * kSecond, 3 * kSecond, -512));
    // [THEN] inside and after the glide
    for (int second : {4, 10}) {
        EXPECT_LE(WorstDifference(glide, second), kTolerance) << "glide, second " << second;
        EXPECT_LE(WorstDifference(fm, second), kTolerance) << "fm, second " << second;
    }
}

TEST(LateSecond, DeepVibratosOnTopOfEachOtherMatch) {
    // [GIVEN] FM operators whose own sine vibrato adds to the track's, an octave each
    // (slow, with periods whose frame grids repeat only after days), and a single sine
    // vibrato of two octaves, at the depth where damaged depths are held
    CProject fm = Bare(11025);
    CTrack& t = AddTrack(fm, 7);
    t.settings.pitchLFO = {3, 0, 0, 0, 9999, 3072};
    t.settings.fm.algorithm = 7;
    for (CFMOperator& op : t.settings.fm.operators)
        op.pitchLFO = {3, 1, 0, 0, 9997, 3072};
    t.settings.fm.operators[3].pitchLFO = {1, 0, 0, 0, 9973, 3072};
    t.AddNote(Note(0, 12 * kSecond, 52));
    CProject deep = Bare(11025);
    AddTrack(deep, 3).settings.pitchLFO = {3, 0, 0, 0, 997, 2 * 3072};
    deep.tracks[0].AddNote(Note(0, 12 * kSecond, 60));
    // [THEN]
    for (int second : {6, 11}) {
        EXPECT_LE(WorstDifference(fm, second), kTolerance) << "fm, second " << second;
        EXPECT_LE(WorstDifference(deep, second), kTolerance) << "deep, second " << second;
    }
}
