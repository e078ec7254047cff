// The preview engine streaming keys to the capture device: what the user would hear is
// read back from the recording and compared with the key's own render, also over a song
// that the player plays at the same time.

#include "../audio/WavBuilder.h"
#include "PreviewTestSupport.h"

#include "audio/Sonalo.h"
#include "preview/CPreviewEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace previewtest;

namespace {

constexpr int32_t kRate = 8000;
constexpr int kBufferMs = 20; // 160 frames a buffer

// s[from, from + count) equals the start of `reference`.
::testing::AssertionResult Continues(const std::vector<int16_t>& s, size_t from,
                                     const std::vector<int16_t>& reference) {
    for (size_t i = from; i < s.size(); ++i)
        if (i - from >= reference.size() || s[i] != reference[i - from])
            return ::testing::AssertionFailure()
                   << "sample " << i << " (" << i - from << " into the key) differs";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(CPreviewEngine, Play45OnASineTrackSounds440Hz) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    EXPECT_TRUE(engine.IsOpen());
    EXPECT_FALSE(engine.IsPlaying());
    ASSERT_TRUE(engine.Play(45));
    EXPECT_TRUE(engine.IsPlaying());
    EXPECT_EQ(engine.Key(), 45);
    ASSERT_TRUE(capture.WaitForFrames(4000));
    engine.Stop();

    WAVE_FORMAT format;
    const auto s = capture.Samples(&format);
    EXPECT_EQ(format.formatTag, WAVE_FORMAT::kPcm);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.samplesPerSec, uint32_t(kRate));
    EXPECT_EQ(format.bitsPerSample, 16);
    // Half a second of 440 Hz crosses zero 440 times.
    EXPECT_NEAR(CountZeroCrossings(s, 0, 4000), 440, 2);
    // Buffer after buffer without a gap or a repeat: the key's render from its start.
    EXPECT_TRUE(Continues(s, 0, Reference(song, 45, s.size())));
}

TEST(CPreviewEngine, ANewKeyStopsTheFirstBeforeTheSecondStartsFromItsOwnBeginning) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(1200));
    ASSERT_TRUE(engine.Play(57));
    EXPECT_EQ(engine.Key(), 57);
    // [THEN] the first key has stopped for good by the time Play returns...
    const size_t first = capture.Samples().size();
    ASSERT_TRUE(capture.WaitForFrames(first + 1200));
    engine.Stop();

    const auto s = capture.Samples();
    EXPECT_TRUE(Continues(std::vector<int16_t>(s.begin(), s.begin() + long(first)), 0,
                          Reference(song, 45, first)));
    // ...and the second starts at phase 0 with nothing of the first mixed in.
    EXPECT_TRUE(Continues(s, first, Reference(song, 57, s.size() - first)));
    EXPECT_NEAR(CountZeroCrossings(s, first, 1200), 2 * 880 * 1200 / kRate, 2);
}

TEST(CPreviewEngine, StopSilencesAtOnceWithoutAReleaseTailAndTheNextKeyStartsAfresh) {
    CaptureDevice capture;
    CProject song = Song(kRate, kSine);
    song.tracks[0].settings.envelope.release = 2000;
    song.tracks[0].settings.envelope.sustainLevel = 200;
    CPreviewEngine engine;
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(1200));
    engine.Stop();
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_EQ(engine.Key(), -1);

    const size_t held = capture.Samples().size();
    RunFor(150);
    EXPECT_EQ(capture.Samples().size(), held); // nothing queued plays on after Stop
    // The sustain holds to the last sample: no release was rendered.
    EXPECT_TRUE(Continues(capture.Samples(), 0, Reference(song, 45, held)));
    engine.Stop();

    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(held + 800));
    engine.Stop();
    EXPECT_TRUE(Continues(capture.Samples(), held, Reference(song, 45, 100000)));
}

TEST(CPreviewEngine, SamplesBeyondFullScaleClipInsteadOfWrappingAround) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    engine.SetGain(3.0);
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(2000));
    engine.Stop();

    const auto s = capture.Samples();
    int clippedHigh = 0, clippedLow = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double x = 3 * std::sin(2 * std::numbers::pi * 440 * double(i) / kRate);
        if (x > 1.01) {
            ASSERT_EQ(s[i], 32767) << i;
            ++clippedHigh;
        } else if (x < -1.01) {
            ASSERT_EQ(s[i], -32768) << i;
            ++clippedLow;
        }
    }
    EXPECT_GT(clippedHigh, 100);
    EXPECT_GT(clippedLow, 100);
}

TEST(CPreviewEngine, DeviceVolumeScalesTheOutputAndCarriesOverToTheNextOpen) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    engine.SetVolume(0.5); // before Open: applied when the device opens
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(800));
    engine.Stop();
    const size_t half = capture.Samples().size();
    auto expected = Reference(song, 45, half);
    for (int16_t& x : expected)
        x = int16_t(int64_t(x) * 0x7FFF / 0xFFFF);
    EXPECT_TRUE(Continues(capture.Samples(), 0, expected));

    engine.SetVolume(1.5); // clamped to full level
    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(half + 800));
    engine.Stop();
    EXPECT_TRUE(Continues(capture.Samples(), half, Reference(song, 45, 100000)));
}

TEST(CPreviewEngine, TheShortestBufferSettingStillStreams) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    // 0 ms would be a buffer without frames, whose refill cycle spins without a sound.
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], 0));
    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(800));
    engine.Stop();
    EXPECT_TRUE(Continues(capture.Samples(), 0, Reference(song, 45, 100000)));
}

TEST(CPreviewEngine, WithoutASongOrADeviceKeysStaySilentAndNothingBreaks) {
    CaptureDevice capture;
    CPreviewEngine engine;
    EXPECT_FALSE(engine.Play(45));
    EXPECT_FALSE(engine.IsPlaying());
    EXPECT_EQ(engine.Key(), -1);
    EXPECT_FALSE(engine.Open(nullptr, nullptr, 100));
    EXPECT_FALSE(engine.Play(45));

    for (const int32_t rate : {100, 0, -8000, 500000}) {
        CProject song = Song(rate, kSine);
        // [GIVEN] a rate no device takes: Open fails...
        EXPECT_FALSE(engine.Open(&song, &song.tracks[0], 100)) << rate;
        EXPECT_FALSE(engine.IsOpen());
        // [THEN] ...and keys follow the user's hold without a sound.
        EXPECT_TRUE(engine.Play(45));
        EXPECT_TRUE(engine.IsPlaying());
        EXPECT_EQ(engine.Key(), 45);
        EXPECT_FALSE(engine.Play(96));
        EXPECT_FALSE(engine.Play(-1));
        EXPECT_EQ(engine.Key(), 45); // an invalid key leaves the one playing alone
        engine.SetVolume(0.3);
        engine.SetGain(2.0);
        engine.Stop();
        EXPECT_FALSE(engine.IsPlaying());
    }
    engine.Close();
    EXPECT_FALSE(engine.Play(45)); // Close forgets the song
    RunFor(50);
    EXPECT_TRUE(capture.Samples().empty());
}

TEST(CPreviewEngine, CloseOrReopenWhilePlayingEndsTheKeyAndFreesNothingInUse) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    const CProject other = Song(kRate, kSquare);
    {
        CPreviewEngine engine;
        ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
        ASSERT_TRUE(engine.Play(45));
        ASSERT_TRUE(capture.WaitForFrames(800));
        engine.Close();
        EXPECT_FALSE(engine.IsOpen());
        EXPECT_FALSE(engine.IsPlaying());
        const size_t played = capture.Samples().size();
        RunFor(100);
        EXPECT_EQ(capture.Samples().size(), played);

        // [WHEN] opened again while a key plays: the new track sounds from the next key on.
        ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
        ASSERT_TRUE(engine.Play(45));
        RunFor(60);
        ASSERT_TRUE(engine.Open(&other, &other.tracks[0], 10));
        EXPECT_FALSE(engine.IsPlaying());
        ASSERT_TRUE(engine.Play(40));
        ASSERT_TRUE(capture.WaitForFrames(800));
        EXPECT_TRUE(Continues(capture.Samples(), 0, Reference(other, 40, 100000)));
        // [THEN] destroying the engine mid-key releases everything (checked under ASan).
    }
    RunFor(50);
}

TEST(CPreviewEngine, AKeyAuditionedWhileTheSongPlaysLeavesTheSongsRecordingWhole) {
    // [GIVEN] the player playing a song of 1.5 s (a ramp, so every frame tells its place)
    CaptureDevice capture;
    const QString wav = WavBuilder()
                            .Fmt(WAVE_FORMAT::Pcm(1, 1000, 16))
                            .Data(Ramp16(1500))
                            .Save(capture.Folder() + "/song.wav");
    Sonalo player;
    ASSERT_TRUE(player.Open(wav, 0, 0));
    ASSERT_TRUE(player.Play());
    ASSERT_TRUE(capture.WaitForFrames(100));

    // [WHEN] a key is auditioned over it and the preview closes before the song ends
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    ASSERT_TRUE(engine.Play(45));
    ASSERT_TRUE(capture.WaitForFrames(1600, 2));
    EXPECT_TRUE(player.IsPlaying()) << "the key did not sound over the song";
    engine.Close();
    ASSERT_TRUE(RunUntil([&] { return !player.IsPlaying(); }, 5000));

    // [THEN] the song's recording holds every frame, the key's its own render
    WAVE_FORMAT format;
    EXPECT_EQ(Frames16(capture.Data(1, &format)), Range(0, 1499));
    EXPECT_EQ(format.samplesPerSec, 1000u);
    const auto key = capture.Samples(2, &format);
    EXPECT_EQ(format.samplesPerSec, uint32_t(kRate));
    EXPECT_EQ(format.channels, 1);
    EXPECT_GE(key.size(), 1600u);
    EXPECT_TRUE(Continues(key, 0, Reference(song, 45, key.size())));
}
