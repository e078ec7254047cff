// Several keys of the preview engine at once: what sounds is the sum of the keys' own
// renders, a key let go ends while the others sound on, and no more than kMaxVoices keys
// sound, the one started longest ago giving way.

#include "PreviewTestSupport.h"

#include "preview/CPreviewEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace previewtest;

namespace {

constexpr int32_t kRate = 8000;
constexpr int kBufferMs = 20;

} // namespace

TEST(CPreviewPolyphony, KeysStartedTogetherSoundAsTheSumOfTheirRenders) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    engine.SetGain(0.25);
    ASSERT_TRUE(engine.NoteOn(45));
    ASSERT_TRUE(engine.NoteOn(52));
    ASSERT_TRUE(engine.NoteOn(57, 0.5));
    EXPECT_EQ(engine.VoiceCount(), 3);
    EXPECT_EQ(engine.Key(), 57);
    ASSERT_TRUE(capture.WaitForFrames(2000));
    engine.Stop();

    const auto s = capture.Samples();
    const auto a = Reference(song, 45, s.size(), 0.25);
    const auto b = Reference(song, 52, s.size(), 0.25);
    const auto c = Reference(song, 57, s.size(), 0.125);
    for (size_t i = 0; i < s.size(); ++i) {
        // The sum is rounded once; the references were rounded each on its own.
        ASSERT_NEAR(s[i], a[i] + b[i] + c[i], 2) << "sample " << i;
    }
}

TEST(CPreviewPolyphony, AKeyLetGoEndsAtOnceAndTheOthersSoundOn) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    engine.SetGain(0.4);
    ASSERT_TRUE(engine.NoteOn(45));
    ASSERT_TRUE(engine.NoteOn(69));
    ASSERT_TRUE(capture.WaitForFrames(1200));
    engine.NoteOff(69);
    EXPECT_TRUE(engine.IsSounding(45));
    EXPECT_FALSE(engine.IsSounding(69));
    EXPECT_EQ(engine.Key(), 45);
    const size_t cut = capture.Samples().size();
    ASSERT_TRUE(capture.WaitForFrames(cut + 1600));
    engine.Stop();
    // From the cut on only 440 Hz: 2 × 440 zero crossings a second.
    EXPECT_NEAR(CountZeroCrossings(capture.Samples(), cut + 8, 1600), 2 * 440 * 1600 / kRate, 3);
    // Letting go of the last key leaves the device silent.
    EXPECT_FALSE(engine.IsPlaying());
}

TEST(CPreviewPolyphony, AtMostSixteenKeysSoundTheOldestGivingWay) {
    CaptureDevice capture;
    const CProject song = Song(kRate, kSine);
    CPreviewEngine engine;
    ASSERT_TRUE(engine.Open(&song, &song.tracks[0], kBufferMs));
    engine.SetGain(1.0 / 32);
    for (int key = 0; key < CPreviewEngine::kMaxVoices; ++key)
        ASSERT_TRUE(engine.NoteOn(key * 2));
    EXPECT_EQ(engine.VoiceCount(), 16);
    // A key that sounds already starts again and takes no second voice; it is now the
    // newest, so key 2 is the oldest.
    ASSERT_TRUE(engine.NoteOn(0));
    EXPECT_EQ(engine.VoiceCount(), 16);
    ASSERT_TRUE(engine.NoteOn(95));
    EXPECT_EQ(engine.VoiceCount(), 16);
    EXPECT_FALSE(engine.IsSounding(2));
    EXPECT_TRUE(engine.IsSounding(0));
    EXPECT_TRUE(engine.IsSounding(95));
    EXPECT_EQ(engine.Key(), 95);
    ASSERT_TRUE(capture.WaitForFrames(800));
    // Keys outside the keyboard, keys not sounding and odd levels change nothing.
    EXPECT_FALSE(engine.NoteOn(-1));
    EXPECT_FALSE(engine.NoteOn(96));
    engine.NoteOff(2);
    engine.NoteOff(-5);
    EXPECT_EQ(engine.VoiceCount(), 16);
    ASSERT_TRUE(engine.NoteOn(95, std::numeric_limits<double>::quiet_NaN()));
    ASSERT_TRUE(engine.NoteOn(94, 7.0));
    // Play still sounds one key alone.
    ASSERT_TRUE(engine.Play(45));
    EXPECT_EQ(engine.VoiceCount(), 1);
    engine.Stop();
    EXPECT_EQ(engine.VoiceCount(), 0);
}
