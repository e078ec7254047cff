// What a build derives from the song before it renders: every segment of a bucket must
// lead to its note's times, however the notes overlap and however long they are.

#include "EngineTestSongs.h"
#include "engine/CSongRenderer.h"
#include "engine/internal/CSongPlan.h"
#include "model/SongLimits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace testsong;

namespace {

// Each segment of a bucket, in list order, is planned in that bucket with its own note.
void ExpectSegmentsOfTheirNotes(const CTrack& track, const TRACK_PLAN& plan) {
    ASSERT_EQ(plan.BucketCount(), track.BucketCount());
    for (size_t b = 0; b < track.BucketCount(); ++b) {
        auto s = size_t(plan.bucketFirst[b]);
        for (auto it = track.Bucket(b).begin(); it != track.Bucket(b).end(); ++it, ++s) {
            const CNote* n = *it;
            ASSERT_LT(s, size_t(plan.bucketFirst[b + 1])) << "bucket " << b;
            EXPECT_EQ(plan.segments[s].segment, n) << "bucket " << b;
            EXPECT_EQ(plan.notes[size_t(plan.segments[s].note)].head, n->Head())
                << "bucket " << b << ", note at " << n->position;
        }
        EXPECT_EQ(s, size_t(plan.bucketFirst[b + 1])) << "bucket " << b;
    }
}

} // namespace

TEST(SongPlan, EverySegmentLeadsToItsNote) {
    // [GIVEN] notes that start in one bucket and end several later, next to short notes,
    // notes in the same buckets added in both orders, and an empty bucket between them
    struct Case {
        const char* name;
        std::vector<CNote> notes;
    };
    const Case cases[] = {
        {"one note over four buckets", {Note(100, 4 * 1920, 50)}},
        {"long notes overlapping in both orders",
         {Note(0, 5000, 50), Note(1000, 6000, 52), Note(3900, 100, 54), Note(1920, 3840, 56),
          Note(500, 1500, 58)}},
        {"notes after an empty bucket", {Note(0, 1900, 50), Note(3 * 1920 + 5, 4000, 51)}},
        {"notes starting where others end", {Note(0, 1920, 50), Note(1920, 1920, 51)}},
    };
    for (const Case& c : cases) {
        CProject p = Bare(8000);
        CTrack& t = AddTrack(p, 3);
        for (const CNote& n : c.notes)
            t.AddNote(n);
        // [WHEN]
        const CSongPlan plan(p);
        // [THEN]
        SCOPED_TRACE(c.name);
        ASSERT_EQ(plan.tracks.size(), 1u);
        EXPECT_EQ(plan.tracks[0].notes.size(), c.notes.size());
        ExpectSegmentsOfTheirNotes(t, plan.tracks[0]);
    }
}

TEST(SongPlan, NoteOfAsManySegmentsAsASongMayHoldIsPlannedAndSounds) {
    // [GIVEN] one note over 2^20 buckets, the most segments a loaded song may use. A plan
    // that walked each segment's chain back to its head would take some 5 * 10^11 steps
    // here, and this test would not end.
    constexpr int32_t kBuckets = int32_t{1} << 20;
    static_assert(uint64_t{kBuckets} == songlimits::kSegmentBudget);
    CProject p = Bare(1000);
    CTrack& t = AddTrack(p, 3);
    t.AddNote(Note(0, kBuckets * CTrack::kBucketTicks, 50));
    // [WHEN]
    const CSongRenderer renderer(p);
    // [THEN] a second in the middle of the note, two hours in, sounds
    std::vector<double> out(1000);
    renderer.RenderSecond(7200, 1000, out.data());
    double energy = 0;
    for (double v : out)
        energy += v * v;
    EXPECT_GT(energy, 100);
    // [THEN] every segment is planned as part of the one note
    const CSongPlan plan(p);
    const TRACK_PLAN& track = plan.tracks[0];
    ASSERT_EQ(track.segments.size(), size_t(kBuckets));
    ASSERT_EQ(track.BucketCount(), size_t(kBuckets));
    for (const SEGMENT_PLAN& s : track.segments)
        ASSERT_EQ(s.note, 0);
}
