// The model's invariant checks find each kind of broken store and time list, name the
// fault, and accept what the operations make; the sealed store's own operations (UpdateNote,
// the read-only views, handles of another track).

#include "ModelInvariants.h"

#include "model/CProject.h"
#include "model/CTrack.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

// Reaches into a store the way a bug would, and puts it back so the track frees it all.
struct NoteStoreTamper {
    static CNoteArray& Buckets(CTrack& t) { return t.buckets; }
    static CNoteArray& Selection(CTrack& t) { return t.selection; }
    static CNote& Segment(const CNote* n) { return const_cast<CNote&>(*n); }
    static CNote*& NextInBucket(const CNote* n) { return Segment(n).nextInBucket; }
    static CNote*& NextSegment(const CNote* n) { return Segment(n).nextSegment; }
    static CNote*& PrevSegment(const CNote* n) { return Segment(n).prevSegment; }
};

namespace {

using Tamper = NoteStoreTamper;

CNote MakeNote(int32_t position, int32_t length) {
    CNote n;
    n.position = position;
    n.length = length;
    n.key = 50;
    return n;
}

// Bucket 0 lists [b, a], bucket 1 lists [c, b's tail]; b is selected.
struct Store {
    CTrack track;
    const CNote* a = track.AddNote(MakeNote(0, 10));
    const CNote* b = track.AddNote(MakeNote(1900, 100));
    const CNote* c = track.AddNote(MakeNote(2000, 10));
    const CNote* bTail = b->NextSegment();

    Store() { track.SelectNote(b, true); }
};

struct BREAKAGE {
    const char* what;
    std::function<void(Store&)> breakIt;
    std::function<void(Store&)> mend;
    const char* fault;
};

} // namespace

TEST(ModelInvariants, EveryKindOfBrokenStoreIsFoundAndNamed) {
    const BREAKAGE cases[] = {
        {"a trailing empty bucket", [](Store& s) { Tamper::Buckets(s.track).push_back(nullptr); },
         [](Store& s) { Tamper::Buckets(s.track).pop_back(); },
         "bucket array ends with an empty bucket (size 3)"},
        {"a flag the selection does not list", [](Store& s) { Tamper::Segment(s.a).selected = 1; },
         [](Store& s) { Tamper::Segment(s.a).selected = 0; }, "2 notes are flagged but 1 listed"},
        {"a listed note without its flag",
         [](Store& s) { Tamper::Selection(s.track).push_back(&Tamper::Segment(s.a)); },
         [](Store& s) { Tamper::Selection(s.track).pop_back(); },
         "selection holds an unselected note at 0"},
        {"a note listed twice",
         [](Store& s) { Tamper::Selection(s.track).push_back(&Tamper::Segment(s.b)); },
         [](Store& s) { Tamper::Selection(s.track).pop_back(); },
         "selection holds the note at 1900 twice"},
        {"a segment with other values", [](Store& s) { Tamper::Segment(s.bTail).volume = 1; },
         [](Store& s) { Tamper::Segment(s.bTail).volume = 255; },
         "segments of note at 1900 disagree"},
        {"a segment in the wrong bucket",
         [](Store& s) {
             Tamper::Buckets(s.track)[1] = Tamper::NextInBucket(s.c);
             Tamper::NextInBucket(s.c) = Tamper::Buckets(s.track)[0];
             Tamper::Buckets(s.track)[0] = &Tamper::Segment(s.c);
         },
         [](Store& s) {
             Tamper::Buckets(s.track)[0] = Tamper::NextInBucket(s.c);
             Tamper::NextInBucket(s.c) = Tamper::Buckets(s.track)[1];
             Tamper::Buckets(s.track)[1] = &Tamper::Segment(s.c);
         },
         "segment of note at 2000 is in bucket 0, expected 1"},
        {"a segment in no bucket", [](Store& s) { Tamper::NextInBucket(s.c) = nullptr; },
         [](Store& s) { Tamper::NextInBucket(s.c) = &Tamper::Segment(s.bTail); },
         "segment of note at 1900 is in no bucket"},
        {"a bucket list running in a circle",
         [](Store& s) { Tamper::NextInBucket(s.bTail) = &Tamper::Segment(s.c); },
         [](Store& s) { Tamper::NextInBucket(s.bTail) = nullptr; },
         "segment listed twice (bucket 1)"},
        {"a wrong back link",
         [](Store& s) { Tamper::PrevSegment(s.bTail) = &Tamper::Segment(s.a); },
         [](Store& s) { Tamper::PrevSegment(s.bTail) = &Tamper::Segment(s.b); },
         "broken back link in note at 1900"},
        {"a chain cut short", [](Store& s) { Tamper::NextSegment(s.b) = nullptr; },
         [](Store& s) { Tamper::NextSegment(s.b) = &Tamper::Segment(s.bTail); },
         "chain of note at 1900 ends before bucket 1"},
    };
    for (const BREAKAGE& c : cases) {
        // [GIVEN] a whole store  [WHEN] one link or value is broken  [THEN] the check names it
        Store s;
        ASSERT_TRUE(HoldsInvariants(s.track)) << c.what;
        c.breakIt(s);
        const Result found = CheckInvariants(s.track);
        c.mend(s);
        EXPECT_FALSE(found) << c.what;
        EXPECT_EQ(found.message, c.fault) << c.what;
        EXPECT_TRUE(HoldsInvariants(s.track)) << c.what << " (mended)";
    }
}

TEST(ModelInvariants, BrokenTimeListsAndTracksAreNamedInTheProject) {
    struct Case {
        const char* what;
        std::function<void(CProject&)> breakIt;
        const char* fault;
    } cases[] = {
        {"tempos from 100",
         [](CProject& p) {
             p.data.tempos.Assign({TEMPO{100, 120.0}});
         },
         "tempo list starts at 100"},
        {"tempos out of order",
         [](CProject& p) {
             p.data.tempos.Assign({{0, 120.0}, {960, 90.0}, {480, 60.0}});
         },
         "tempo list is not strictly sorted at element 2"},
        {"a tempo of 0",
         [](CProject& p) {
             p.data.tempos.Assign({TEMPO{0, 0.0}});
         },
         "tempo 0 at 0"},
        {"no volumes", [](CProject& p) { p.data.volumes.Assign({}); }, "volume list is empty"},
        {"a beat of nothing",
         [](CProject& p) {
             p.data.beats.Assign({BEAT{0, 0, 4}});
         },
         "signature 0/4 at measure 0"},
        {"a track with a trailing empty bucket",
         [](CProject& p) {
             p.tracks.emplace_back();
             p.tracks[1].AddNote(MakeNote(0, 10));
             Tamper::Buckets(p.tracks[1]).push_back(nullptr);
         },
         "bucket array ends with an empty bucket (size 2) (track 1)"},
    };
    for (const Case& c : cases) {
        CProject p;
        p.Reset();
        ASSERT_TRUE(HoldsInvariants(p)) << c.what;
        c.breakIt(p);
        const Result found = CheckInvariants(p);
        EXPECT_FALSE(found) << c.what;
        EXPECT_EQ(found.message, c.fault) << c.what;
    }
}

TEST(NoteStoreViews, BucketsSelectionAndSegmentsReadWhatTheOperationsMade) {
    Store s;
    ASSERT_EQ(s.track.BucketCount(), 2u);
    const std::vector<const CNote*> first(s.track.Bucket(0).begin(), s.track.Bucket(0).end());
    const std::vector<const CNote*> second(s.track.Bucket(1).begin(), s.track.Bucket(1).end());
    EXPECT_EQ(first, (std::vector<const CNote*>{s.b, s.a})) << "newest first";
    EXPECT_EQ(second, (std::vector<const CNote*>{s.c, s.bTail}));
    EXPECT_EQ(s.bTail->PrevSegment(), s.b);
    EXPECT_EQ(s.bTail->Head(), s.b);
    ASSERT_EQ(s.track.Selection().size(), 1u);
    EXPECT_EQ(s.track.Selection()[0], s.b);
    s.track.RemoveNote(s.c);
    EXPECT_EQ(std::distance(s.track.Bucket(1).begin(), s.track.Bucket(1).end()), 1);
}

TEST(NoteStoreViews, UpdateNoteChangesTheWholeChainInPlace) {
    // [GIVEN] a selected note over two buckets, behind a newer one in its first bucket
    Store s;
    CNote louder = *s.b;
    louder.volume = 7;
    louder.portamentoLevel = -256;
    // [WHEN] it gets new values through its tail
    ASSERT_TRUE(s.track.UpdateNote(s.bTail, louder));
    // [THEN] both segments carry them, and head, list places and selection are kept
    EXPECT_EQ(s.b->volume, 7);
    EXPECT_EQ(s.bTail->volume, 7);
    EXPECT_EQ(s.bTail->portamentoLevel, -256);
    EXPECT_EQ(s.track.Bucket(0).front(), s.b);
    EXPECT_EQ(s.track.Selection()[0], s.b);
    EXPECT_EQ(s.b->selected, 1u);
    EXPECT_TRUE(HoldsInvariants(s.track));
    // and values that would move or resize the note change nothing
    CNote longer = louder;
    longer.length += 1;
    CNote later = louder;
    later.position += 1;
    EXPECT_FALSE(s.track.UpdateNote(s.b, longer));
    EXPECT_FALSE(s.track.UpdateNote(s.b, later));
    EXPECT_EQ(s.b->position, 1900);
    EXPECT_EQ(s.b->length, 100);
}

TEST(NoteStoreViews, AHandleFromACopyIsNoHandleOfTheOriginal) {
    // An undo snapshot is a copy: its notes look the same but belong to another track.
    Store s;
    const CTrack snapshot = s.track;
    const CNote* stale = snapshot.Selection()[0];
    EXPECT_DEBUG_DEATH(s.track.SelectNote(stale, false), "another track");
    EXPECT_EQ(s.track.Selection().size(), 1u);
    EXPECT_EQ(snapshot.Selection().size(), 1u);
}

TEST(ProjectCurrentTrack, IsTheTrackCurrentTrackNamesOrNone) {
    CProject p;
    p.Reset();
    p.InsertTrack(1);
    for (int index : {-1, 0, 1, 2}) {
        p.currentTrack = index;
        const CTrack* expected = index == 0 || index == 1 ? &p.tracks[size_t(index)] : nullptr;
        EXPECT_EQ(p.CurrentTrack(), expected) << index;
        EXPECT_EQ(std::as_const(p).CurrentTrack(), expected) << index;
    }
}
