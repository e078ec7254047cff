// The metronome's beats: one click per beat of each measure's signature with the first
// accented, at the frame where a note starting on that beat begins, through tempo changes,
// and a bounded list for a damaged beat list.

#include "engine/MetronomeBeats.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CTempoList Tempos(std::vector<TEMPO> elements) {
    CTempoList list;
    list.Assign(std::move(elements));
    return list;
}

CBeats Beats(std::vector<BEAT> elements) {
    CBeats list;
    list.Assign(std::move(elements));
    return list;
}

std::vector<uint64_t> Frames(const std::vector<METRONOME_BEAT>& beats) {
    std::vector<uint64_t> frames;
    for (const METRONOME_BEAT& b : beats)
        frames.push_back(b.frame);
    return frames;
}

std::vector<bool> Accents(const std::vector<METRONOME_BEAT>& beats) {
    std::vector<bool> accents;
    for (const METRONOME_BEAT& b : beats)
        accents.push_back(b.accent);
    return accents;
}

} // namespace

TEST(MetronomeBeats, FollowTheBeatListAndTheTempoList) {
    struct CASE {
        const char* name;
        std::vector<TEMPO> tempos;
        std::vector<BEAT> beats;
        int32_t endTick;
        std::vector<uint64_t> frames; // at 8000 Hz
        std::vector<bool> accents;
    };
    const CASE cases[] = {
        {"4/4 at 120 BPM: a quarter is half a second",
         {{0, 120}},
         {{0, 4, 4}},
         3840,
         {0, 4000, 8000, 12000, 16000, 20000, 24000, 28000},
         {true, false, false, false, true, false, false, false}},
        {"3/4, then 6/8 from the third measure",
         {{0, 120}},
         {{0, 3, 4}, {2, 6, 8}},
         4320,
         {0, 4000, 8000, 12000, 16000, 20000, 24000, 26000, 28000, 30000, 32000, 34000},
         {true, false, false, true, false, false, true, false, false, false, false, false}},
        {"60 BPM from the third beat on",
         {{0, 120}, {960, 60}},
         {{0, 4, 4}},
         1921,
         {0, 4000, 8000, 16000, 24000},
         {true, false, false, false, true}},
        {"the end tick is not a beat of its own", {{0, 120}}, {{0, 4, 4}}, 480, {0}, {true}},
        {"nothing before tick 0", {{0, 120}}, {{0, 4, 4}}, 0, {}, {}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        const auto beats = MetronomeBeats(Tempos(c.tempos), Beats(c.beats), c.endTick, 8000);
        EXPECT_EQ(Frames(beats), c.frames);
        EXPECT_EQ(Accents(beats), c.accents);
    }
}

// A note on a beat begins on the first frame whose rendered tick reaches the beat, which
// for odd tempos and rates lies between two frames of the beat's exact time.
TEST(MetronomeBeats, LandOnTheFrameWhereANoteOnTheBeatBegins) {
    const double tempos[] = {120, 97.3, 133.7, 61, 200.5};
    const uint32_t rates[] = {8000, 11025, 44100, 48000, 96000};
    const CBeats beats = Beats({{0, 7, 8}});
    for (const double tempo : tempos) {
        for (const uint32_t rate : rates) {
            SCOPED_TRACE(testing::Message() << tempo << " BPM at " << rate << " Hz");
            const CTempoList list = Tempos({{0, tempo}, {1000, tempo * 0.71}});
            const int32_t end = 1920 * 20;
            const auto clicks = MetronomeBeats(list, beats, end, rate);
            ASSERT_EQ(clicks.size(), size_t(end / 240));
            for (size_t i = 0; i < clicks.size(); ++i) {
                const auto tick = int32_t(i * 240);
                const uint64_t f = clicks[i].frame;
                const auto timeOf = [rate](uint64_t frame) {
                    return double(frame / rate) + double(frame % rate) / rate;
                };
                EXPECT_GE(list.SecondsToTicks(timeOf(f)), tick) << "beat " << i;
                if (f > 0) {
                    EXPECT_LT(list.SecondsToTicks(timeOf(f - 1)), tick) << "beat " << i;
                }
            }
        }
    }
}

TEST(MetronomeBeats, DamagedOrEmptyInputGivesABoundedList) {
    const CTempoList tempos = Tempos({{0, 120}});
    EXPECT_TRUE(MetronomeBeats(tempos, Beats({{0, 4, 4}}), 1920, 0).empty());
    EXPECT_TRUE(MetronomeBeats(tempos, Beats({{0, 4, 4}}), -5, 8000).empty());
    // A beat of 1/64 over the whole range of ticks: a click every 30 ticks.
    const auto many = MetronomeBeats(tempos, Beats({{0, 1, 64}}), INT32_MAX, 8000);
    EXPECT_EQ(many.size(), kMaxMetronomeBeats);
    // A base beat of 7 does not divide a whole note: the beats still lie inside each measure.
    const auto odd = MetronomeBeats(tempos, Beats({{0, 3, 7}}), 823, 1920);
    EXPECT_EQ(Accents(odd), (std::vector<bool>{true, false, false, true}));
}
