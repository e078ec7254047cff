// The PCM source: position from the phase, loops, widths, channel means and frame bounds.
// Positions are given in frames of the sample; the phase that reaches frame p on a note of
// the base key is p * fBase / rate.

#include "EngineTestSongs.h"
#include "engine/CPhaseCache.h"
#include "engine/Voice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace testsong;

namespace {

const double kBase = 27.5 * std::pow(2, (98 - 59) / 12.0); // key 59, the default base key

double At(const CPCM& pcm, double frame, int noteKey = 59) {
    return GetPcmSample(pcm, frame * kBase / pcm.sampleFormat.samplesPerSec, noteKey);
}

CPCM Mono16(const std::vector<int16_t>& samples, int rate = 8000) {
    CPCM pcm;
    SetPcm16(pcm, samples, 1, rate);
    return pcm;
}

CPCM Ramp(int frames) {
    std::vector<int16_t> s;
    for (int i = 0; i < frames; ++i)
        s.push_back(static_cast<int16_t>(i * 100));
    return Mono16(s);
}

} // namespace

TEST(PcmVoice, PlaysAtTheBaseKeyAndFallsSilentAfterTheData) {
    const CPCM pcm = Mono16({0, 1000, 2000, 3000, -4000, 32767});
    EXPECT_NEAR(At(pcm, 2), 2000 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 2.5), 2500 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 3.5), -500 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 5), 1.0, 1e-15);
    // between the last frame and the (missing) next one, which reads as 0
    EXPECT_NEAR(At(pcm, 5.5), 16384 / 32767.0, 1e-15);
    EXPECT_EQ(At(pcm, 6), 0);
    EXPECT_EQ(At(pcm, 1e6), 0);
    EXPECT_EQ(At(pcm, -5), 0);
}

TEST(PcmVoice, NotePitchResamplesThroughThePhase) {
    // [GIVEN] a PCM track an octave above its base key, rendered at the sample's rate
    CProject p = Bare(8000);
    CTrack& t = AddTrack(p, 5);
    t.settings.pcm = Ramp(64);
    const CNote n = Note(0, 1920, 47);
    // [THEN] frame i of the song reads frame 2i of the sample
    for (int i : {1, 5, 20}) {
        CPhaseCache cache;
        EXPECT_NEAR(GetSample(n, i / 8000.0, p, t, cache, false), 200 * i / 32767.0, 1e-12);
    }
    // the sample's own rate is what counts: a 16000 Hz sample plays twice as fast
    t.settings.pcm.sampleFormat.samplesPerSec = 16000;
    CPhaseCache cache;
    EXPECT_NEAR(GetSample(n, 5 / 8000.0, p, t, cache, false), 2000 / 32767.0, 1e-12);
}

TEST(PcmVoice, LoopsInFrames) {
    CPCM pcm = Ramp(10);
    pcm.loopUnit = 1;
    pcm.loopStart = 1;
    pcm.loopEnd = 4;
    pcm.loopCount = 0; // endless
    EXPECT_NEAR(At(pcm, 3), 300 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 4), 100 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 5.5), 250 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 3001), 100 / 32767.0, 1e-12);
    pcm.loopCount = 3; // the stretch sounds three times, then the sample plays on
    EXPECT_NEAR(At(pcm, 7), 100 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 10), 400 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 12), 600 / 32767.0, 1e-15);
    pcm.loopCount = 1; // no loop
    EXPECT_NEAR(At(pcm, 7), 700 / 32767.0, 1e-15);
    pcm.loopCount = 0;
    pcm.loopEnd = 0; // to the end of the data
    EXPECT_NEAR(At(pcm, 12), 300 / 32767.0, 1e-15);
    pcm.loopStart = 4; // empty loop: no looping
    pcm.loopEnd = 4;
    EXPECT_NEAR(At(pcm, 9), 900 / 32767.0, 1e-15);
}

TEST(PcmVoice, LoopsInMillisecondsScaleWithThePitch) {
    CPCM pcm = Ramp(100);
    pcm.loopStart = 1; // 8 frames at 8000 Hz on the base key
    pcm.loopEnd = 5;   // 40 frames
    pcm.loopCount = 0;
    EXPECT_NEAR(At(pcm, 45), 1300 / 32767.0, 1e-12);
    // an octave up the loop spans frames 16..80 of the sample
    EXPECT_NEAR(At(pcm, 85, 47), 2100 / 32767.0, 1e-12);
    // loop end 0: the end of the data (100 frames), scaled as well: 16..200
    pcm.loopEnd = 0;
    EXPECT_NEAR(At(pcm, 210, 47), 2600 / 32767.0, 1e-12);
}

TEST(PcmVoice, EveryWidthAndStereoMeans) {
    CPCM pcm;
    pcm.sampleData = {128, 255, 0, 192};
    SetFormat(pcm, 1, 8000, 8); // unsigned, 128 is zero
    EXPECT_EQ(At(pcm, 0), 0);
    EXPECT_NEAR(At(pcm, 1), 1, 1e-15);
    EXPECT_NEAR(At(pcm, 2), -128 / 127.0, 1e-15);
    EXPECT_NEAR(At(pcm, 3), 64 / 127.0, 1e-15);

    SetPcm24(pcm, {0x7FFFFF, -0x800000, 1}, 1, 8000);
    EXPECT_NEAR(At(pcm, 0), 1, 1e-15);
    EXPECT_NEAR(At(pcm, 1), -8388608 / 8388607.0, 1e-15);
    EXPECT_NEAR(At(pcm, 2), 1 / 8388607.0, 1e-15);

    SetPcmFloat(pcm, {0.5f, -0.25f}, 1, 8000);
    EXPECT_NEAR(At(pcm, 0.5), 0.125, 1e-15);
    pcm.sampleData.clear();
    for (double v : {0.75, -1.5})
        PutLittleEndian(pcm.sampleData, std::bit_cast<uint64_t>(v), 8);
    SetFormat(pcm, 1, 8000, 64);
    EXPECT_NEAR(At(pcm, 0.25), 0.1875, 1e-15);

    // integer stereo means truncate toward zero
    SetPcm16(pcm, {100, -51, -101, 0}, 2, 8000);
    EXPECT_NEAR(At(pcm, 0), 24 / 32767.0, 1e-15);
    EXPECT_NEAR(At(pcm, 1), -50 / 32767.0, 1e-15);
    SetPcmFloat(pcm, {0.5f, 0.25f}, 2, 8000);
    EXPECT_NEAR(At(pcm, 0), 0.375, 1e-15);
}

TEST(PcmVoice, OnlyWholeFramesAreRead) {
    CPCM pcm = Mono16({1000, 2000});
    pcm.sampleData.push_back(0x7F); // an odd trailing byte: no third frame
    EXPECT_NEAR(At(pcm, 1), 2000 / 32767.0, 1e-15);
    EXPECT_EQ(At(pcm, 2), 0);
    SetPcm16(pcm, {1000, 2000, 3000}, 2, 8000); // stereo: one whole frame and a half
    EXPECT_EQ(At(pcm, 1), 0);
}

TEST(PcmVoice, UnplayableSamplesAreSilent) {
    CPCM none;
    EXPECT_EQ(At(none, 0), 0);
    CPCM pcm = Mono16({1000, 2000, 3000});
    for (int channels : {0, 3}) {
        pcm.sampleFormat.channels = static_cast<uint16_t>(channels);
        EXPECT_EQ(At(pcm, 1), 0) << channels << " channels";
    }
    pcm.sampleFormat.channels = 1;
    for (int bits : {0, 12, 48}) {
        pcm.sampleFormat.bitsPerSample = static_cast<uint16_t>(bits);
        EXPECT_EQ(At(pcm, 1), 0) << bits << " bits";
    }
    // a float file holding NaN or infinity reads those frames as 0
    SetPcmFloat(
        pcm,
        {std::numeric_limits<float>::quiet_NaN(), 0.5f, std::numeric_limits<float>::infinity()}, 1,
        8000);
    EXPECT_EQ(At(pcm, 0), 0);
    EXPECT_NEAR(At(pcm, 1), 0.5, 1e-15);
    EXPECT_NEAR(At(pcm, 1.5), 0.25, 1e-15);
    EXPECT_EQ(At(pcm, 2), 0);
}

TEST(PcmVoice, EndlessLoopFarIntoALongNoteTakesNoTime) {
    // a loop one frame long and a position a billion frames in: no frame-by-frame wrapping
    CPCM pcm = Ramp(10);
    pcm.loopUnit = 1;
    pcm.loopStart = 3;
    pcm.loopEnd = 4;
    pcm.loopCount = 0;
    EXPECT_NEAR(At(pcm, 1e9 + 0.5), 350 / 32767.0, 1e-6);
    EXPECT_EQ(At(pcm, std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(At(pcm, std::numeric_limits<double>::quiet_NaN()), 0);
}
