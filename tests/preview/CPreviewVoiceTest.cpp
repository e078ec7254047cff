// What a previewed key renders, without a device: the preview note, the 16-bit conversion,
// the buffer length and volume word, and how the song's settings reach the key.

#include "PreviewTestSupport.h"

#include "preview/internal/CPreviewVoice.h"
#include "preview/internal/PreviewFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

using namespace previewtest;

TEST(PreviewFormat, BufferFramesFollowTheSettingWithinSaneBounds) {
    struct Case {
        int32_t rate;
        int bufferMs;
        int32_t frames;
    };
    const Case cases[] = {
        {44100, 100, 4410},   // the default setting: 8820 bytes per buffer
        {8000, 20, 160},      //
        {1000, 10, 10},       //
        {44100, 0, 44},       // [GIVEN] no length: one millisecond, never an empty buffer
        {44100, -50, 44},     //
        {1000, 1, 1},         // the shortest buffer still holds a frame
        {44100, 5000, 44100}, // [GIVEN] a typed huge length: one second at most
        {384000, INT_MAX, 384000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(preview::BufferFrames(c.rate, c.bufferMs), c.frames)
            << c.rate << " Hz, " << c.bufferMs << " ms";
}

TEST(PreviewFormat, SamplesBeyondFullScaleClipInsteadOfWrapping) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double x;
        int16_t n;
    };
    const Case cases[] = {
        {0.0, 0},          {1.0, 32767},       {-1.0, -32767},   {1.5, 32767},
        {-1.5, -32768},    {1e300, 32767},     {-1e300, -32768}, {inf, 32767},
        {-inf, -32768},    {0.5 / 32767, 1}, // floor(x + 0.5) rounds halves up
        {-0.5 / 32767, 0}, {-1.5 / 32767, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(preview::ToPcm16(c.x), c.n) << c.x;
    EXPECT_EQ(preview::ToPcm16(std::nan("")), 0);
}

TEST(PreviewFormat, VolumeWordIsTheTruncatedLevelInBothHalves) {
    EXPECT_EQ(preview::VolumeWord(1.0), 0xFFFFFFFFu);
    EXPECT_EQ(preview::VolumeWord(0.5), 0x7FFF7FFFu);
    EXPECT_EQ(preview::VolumeWord(1.5), 0xFFFFFFFFu);
    EXPECT_EQ(preview::VolumeWord(-0.5), 0u);
    EXPECT_EQ(preview::VolumeWord(std::nan("")), 0u);
    EXPECT_EQ(preview::VolumeWord(0.25), 0x3FFF3FFFu);
}

TEST(CPreviewVoice, PreviewNoteIsTheKeyCountedDownwardAtFullVolumeWithoutEnd) {
    const CProject song = Song(8000, kSine);
    CPreviewVoice voice;
    voice.Start(song, song.tracks[0], 45);
    const CNote& n = voice.Note();
    EXPECT_EQ(n.key, 50);
    EXPECT_EQ(n.position, 0);
    EXPECT_EQ(n.length, INT32_MAX);
    EXPECT_EQ(n.keyoff, 0);
    EXPECT_EQ(n.volume, 255);
    EXPECT_FALSE(n.HasPortamento());
    EXPECT_EQ(n.portamentoStart, 0);
    EXPECT_EQ(n.selected, 0u);
    EXPECT_DOUBLE_EQ(CPreviewVoice::KeyFrequency(45), 440.0);
    EXPECT_FALSE(CPreviewVoice::ValidKey(-1));
    EXPECT_FALSE(CPreviewVoice::ValidKey(96));
    EXPECT_TRUE(CPreviewVoice::ValidKey(0) && CPreviewVoice::ValidKey(95));
}

TEST(CPreviewVoice, Key45OnASineTrackIs440HzAndTransposeShiftsIt) {
    CProject song = Song(8000, kSine);
    // One second: 440 cycles cross zero 880 times.
    EXPECT_NEAR(CountZeroCrossings(Reference(song, 45, 8000), 0, 8000), 880, 2);
    EXPECT_NEAR(PeakOf(Reference(song, 45, 8000), 0, 8000), 32767, 2);
    song.data.transpose = 12;
    EXPECT_NEAR(CountZeroCrossings(Reference(song, 45, 8000), 0, 8000), 1760, 2);
    song.data.transpose = -12;
    EXPECT_NEAR(CountZeroCrossings(Reference(song, 45, 8000), 0, 8000), 440, 2);
}

TEST(CPreviewVoice, TransposeLeavesNoiseUnchanged) {
    CProject song = Song(8000, kNoise);
    const auto plain = Reference(song, 60, 4000);
    song.data.transpose = 7;
    EXPECT_EQ(Reference(song, 60, 4000), plain);
    song.tracks[0].settings.waveform = kSquare;
    const auto transposed = Reference(song, 60, 4000);
    song.data.transpose = 0;
    EXPECT_NE(Reference(song, 60, 4000), transposed);
}

TEST(CPreviewVoice, LoudnessFollowsTheMasterVolumeListFromTheStartOfTheSong) {
    CProject song = Song(8000, kSine);
    // 480 ticks at the default 120 BPM: the level changes after half a second.
    song.data.volumes.Assign({{0, 51}, {480, 255}});
    const auto samples = Reference(song, 45, 8000);
    EXPECT_NEAR(PeakOf(samples, 0, 3800), 32767 * 51 / 255, 2);
    EXPECT_NEAR(PeakOf(samples, 4200, 3800), 32767, 2);
}

TEST(CPreviewVoice, EnvelopeHoldsItsSustainAndNeverReleases) {
    CProject song = Song(8000, kSine);
    CEnvelope& e = song.tracks[0].settings.envelope;
    e.attack = 100;
    e.attackLevel = 0;
    e.decay = 100;
    e.sustainLevel = 128;
    e.sustain = -1;
    e.release = 10;
    const auto samples = Reference(song, 45, 16000);
    EXPECT_LT(PeakOf(samples, 0, 80), 32767 / 5); // the attack starts from silence
    const int sustain = 32767 * 128 / 255;
    EXPECT_NEAR(PeakOf(samples, 2000, 400), sustain, 2);
    EXPECT_NEAR(PeakOf(samples, 15600, 400), sustain, 2);
}

TEST(CPreviewVoice, EveryKeyStartsAfreshWithoutTheOscillatorStateOfTheKeyBefore) {
    for (const int waveform : {kSine, kFm}) {
        CProject song = Song(8000, waveform);
        song.tracks[0].settings.fm.operators[0].feedback = 5;
        const CTrack& track = song.tracks[0];
        CPreviewVoice voice;
        std::vector<uint8_t> first(2000), second(1000), fresh(1000);
        voice.Start(song, track, 45);
        voice.Render(first.data(), 1000, 1.0);
        voice.Start(song, track, 57);
        voice.Render(second.data(), 500, 1.0);
        CPreviewVoice other;
        other.Start(song, track, 57);
        other.Render(fresh.data(), 500, 1.0);
        EXPECT_NE(fresh, std::vector<uint8_t>(1000, 0));
        EXPECT_EQ(second, fresh) << "waveform " << waveform;
    }
}

TEST(CPreviewVoice, TimeAxisRestartsAfterAsManySecondsAsTheKeysFrequency) {
    // Key 0 (C1, 32.70 Hz) at 1000 Hz: the axis restarts after 32703.2 frames, and an
    // envelope with an attack from silence starts over with it.
    CProject song = Song(1000, kSine);
    song.tracks[0].settings.envelope.attack = 200;
    const size_t wrap = size_t(std::ceil(1000 * CPreviewVoice::KeyFrequency(0)));
    const auto samples = Reference(song, 0, wrap + 100);
    EXPECT_GT(PeakOf(samples, wrap - 62, 61), 32000);
    EXPECT_LT(PeakOf(samples, wrap, 31), 32767 / 5);
    EXPECT_LT(PeakOf(samples, 0, 31), 32767 / 5);
}
