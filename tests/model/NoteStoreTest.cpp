// The bucketed note store of a track: segments, selection, time shifts, clipboard, find.

#include "FileBytes.h"
#include "ModelCompare.h"
#include "ModelInvariants.h"
#include "RandomProject.h"

#include "model/CArchiveWriter.h"
#include "model/CProject.h"
#include "model/CTrack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

CNote MakeNote(int32_t position, int32_t length, int32_t key = 50) {
    CNote n;
    n.position = position;
    n.length = length;
    n.key = key;
    n.volume = 100;
    return n;
}

// Head positions in enumeration order.
std::vector<int32_t> Positions(const CTrack& t) {
    std::vector<int32_t> result;
    t.ForEachNote([&](const CNote* n) { result.push_back(n->position); });
    std::sort(result.begin(), result.end());
    return result;
}

std::vector<int32_t> SelectedPositions(const CTrack& t) {
    std::vector<int32_t> result;
    for (const CNote* n : t.Selection())
        result.push_back(n->position);
    return result;
}

const CNote* Tail(const CNote* head) {
    while (head->NextSegment() != nullptr)
        head = head->NextSegment();
    return head;
}

// The note stream at the end of a track record.
std::vector<uint8_t> NoteStreamOf(const CTrack& t) {
    CArchiveWriter settings;
    t.settings.Serialize(settings);
    CArchiveWriter whole;
    t.Serialize(whole);
    return {whole.Data().begin() + static_cast<std::ptrdiff_t>(settings.Size()),
            whole.Data().end()};
}

} // namespace

TEST(NoteStore, NoteIsStoredAsOneSegmentPerBucketItTouches) {
    CTrack t;
    const CNote* crossing = t.AddNote(MakeNote(1900, 100));
    ASSERT_EQ(t.BucketCount(), 2u);
    ASSERT_NE(crossing->NextSegment(), nullptr);
    EXPECT_EQ(t.Bucket(0).front(), crossing);
    EXPECT_EQ(t.Bucket(1).front(), crossing->NextSegment());
    EXPECT_EQ(crossing->NextSegment()->position, 1900);
    EXPECT_TRUE(HoldsInvariants(t));

    // Last tick 3839: bucket 1 only.
    const CNote* whole = t.AddNote(MakeNote(1920, 1920));
    EXPECT_EQ(whole->NextSegment(), nullptr);
    EXPECT_EQ(t.BucketCount(), 2u);
    EXPECT_EQ(t.Bucket(1).front(), whole) << "the newest segment leads its bucket";

    const CNote* long3 = t.AddNote(MakeNote(100, 1920 * 2));
    EXPECT_EQ(t.BucketCount(), 3u);
    EXPECT_EQ(long3->NextSegment()->NextSegment(), t.Bucket(2).front());
    EXPECT_TRUE(HoldsInvariants(t));
    EXPECT_EQ(t.NoteCount(), 3u);
}

TEST(NoteStore, LengthBelowOneIsStoredAsOne) {
    CTrack t;
    EXPECT_EQ(t.AddNote(MakeNote(10, 0))->length, 1);
    EXPECT_EQ(t.AddNote(MakeNote(1919, -5))->length, 1);
    EXPECT_EQ(t.BucketCount(), 1u);
    EXPECT_TRUE(HoldsInvariants(t));
}

TEST(NoteStore, CrossingNoteIsSavedOnce) {
    CTrack t;
    CNote values = MakeNote(1900, 100, 12);
    values.keyoff = 7;
    t.AddNote(values);
    FileBytes expected;
    expected.note(1900, 100, 7, 12, 100).endBucket().endBucket().endNotes();
    EXPECT_EQ(NoteStreamOf(t), expected.bytes);
}

TEST(NoteStore, NotesOfABucketAreSavedInTheOrderTheyWereAdded) {
    CTrack t;
    t.AddNote(MakeNote(30, 1));
    t.AddNote(MakeNote(10, 1));
    t.AddNote(MakeNote(3850, 1));
    FileBytes expected;
    expected.note(30, 1, 0, 50, 100).note(10, 1, 0, 50, 100).endBucket().endBucket();
    expected.note(3850, 1, 0, 50, 100).endBucket().endNotes();
    EXPECT_EQ(NoteStreamOf(t), expected.bytes);
    EXPECT_EQ(NoteStreamOf(CTrack()), FileBytes().endNotes().bytes);
}

TEST(NoteStore, RemovingThroughAnySegmentRemovesTheWholeNoteAndTrims) {
    CTrack t;
    t.AddNote(MakeNote(0, 10));
    const CNote* crossing = t.AddNote(MakeNote(1900, 100));
    t.RemoveNote(Tail(crossing));
    EXPECT_EQ(t.BucketCount(), 1u);
    EXPECT_EQ(Positions(t), std::vector<int32_t>{0});
    EXPECT_TRUE(HoldsInvariants(t));

    // With a gap before it, trimming goes back to the last used bucket, so the song's end
    // is still found in the last bucket.
    const CNote* far = t.AddNote(MakeNote(5760, 10));
    EXPECT_EQ(t.EndTick(), 5770);
    t.RemoveNote(far);
    EXPECT_EQ(t.BucketCount(), 1u);
    EXPECT_EQ(t.EndTick(), 10);

    t.RemoveNote(t.Bucket(0).front());
    EXPECT_EQ(t.BucketCount(), 0u);
    EXPECT_FALSE(t.HasNotes());
    EXPECT_EQ(t.EndTick(), 0);
    EXPECT_EQ(NoteStreamOf(t), FileBytes().endNotes().bytes);
}

TEST(NoteStore, RemovingASelectedNoteTakesItOutOfTheSelection) {
    CTrack t;
    const CNote* a = t.AddNote(MakeNote(0, 10));
    const CNote* b = t.AddNote(MakeNote(1900, 100));
    t.SelectNote(a, true);
    t.SelectNote(b, true);
    t.RemoveNote(b->NextSegment());
    EXPECT_EQ(SelectedPositions(t), std::vector<int32_t>{0});
    EXPECT_TRUE(HoldsInvariants(t));
    t.RemoveAllNotes();
    EXPECT_EQ(t.BucketCount(), 0u);
    EXPECT_TRUE(t.Selection().empty());
}

TEST(NoteStore, SelectNoteModes) {
    CTrack t;
    const CNote* a = t.AddNote(MakeNote(3000, 10));
    const CNote* b = t.AddNote(MakeNote(1900, 100));
    const CNote* c = t.AddNote(MakeNote(0, 10));

    // [GIVEN] nothing selected [WHEN] deselecting [THEN] -1 and no change.
    EXPECT_EQ(t.SelectNote(a, false), -1);
    EXPECT_TRUE(t.Selection().empty());

    EXPECT_EQ(t.SelectNote(a, true), 0);
    EXPECT_EQ(t.SelectNote(b->NextSegment(), true), 1) << "a tail selects its note";
    EXPECT_EQ(b->selected, 1u);
    EXPECT_EQ(b->NextSegment()->selected, 1u);
    EXPECT_EQ(t.SelectNote(a, true), 0) << "selecting again reports the existing index";
    EXPECT_EQ(t.SelectNote(b, true), 1);
    EXPECT_EQ(t.Selection().size(), 2u);
    EXPECT_TRUE(HoldsInvariants(t));

    // Select all appends the rest in enumeration order, twice changes nothing.
    EXPECT_EQ(t.SelectNote(nullptr, true), -1);
    EXPECT_EQ(t.SelectNote(nullptr, true), -1);
    EXPECT_EQ(SelectedPositions(t), (std::vector<int32_t>{3000, 1900, 0}));
    EXPECT_TRUE(HoldsInvariants(t));

    // Deselecting through a tail removes the head; later entries move up.
    EXPECT_EQ(t.SelectNote(b->NextSegment(), false), -1);
    EXPECT_EQ(SelectedPositions(t), (std::vector<int32_t>{3000, 0}));
    EXPECT_EQ(b->NextSegment()->selected, 0u);
    EXPECT_EQ(t.SelectNote(c, true), 1);
    EXPECT_TRUE(HoldsInvariants(t));

    EXPECT_EQ(t.SelectNote(nullptr, false), -1);
    EXPECT_TRUE(t.Selection().empty());
    EXPECT_EQ(a->selected + b->selected + c->selected, 0u);
    EXPECT_TRUE(HoldsInvariants(t));
}

TEST(NoteStore, InsertTimeMovesNotesFromTheTickOn) {
    CTrack t;
    t.AddNote(MakeNote(0, 960));   // ends exactly at the tick: stays
    t.AddNote(MakeNote(960, 480)); // starts exactly at the tick: moves
    t.AddNote(MakeNote(3000, 10));
    t.SelectNote(nullptr, true);
    ASSERT_TRUE(t.InsertTime(960, 1920));
    EXPECT_EQ(Positions(t), (std::vector<int32_t>{0, 2880, 4920}));
    EXPECT_EQ(SelectedPositions(t), std::vector<int32_t>{0}) << "moved notes are not selected";
    EXPECT_TRUE(HoldsInvariants(t));
}

TEST(NoteStore, InsertTimeRefusesWhenANoteStraddlesTheTick) {
    for (int32_t tick : {960, 2000}) {
        CTrack t;
        t.AddNote(MakeNote(900, 100));  // straddles 960
        t.AddNote(MakeNote(1800, 300)); // straddles 2000 through its second segment
        t.AddNote(MakeNote(2500, 10));
        const CTrack before = t;
        EXPECT_FALSE(t.InsertTime(tick, 480)) << tick;
        EXPECT_TRUE(SameNotes(t, before)) << tick;
    }
}

TEST(NoteStore, DeleteTimeRemovesTheRangeAndPullsLaterNotesBack) {
    // Deleting the second measure of a 3/4 song.
    CTrack t;
    for (int32_t p : {0, 1439, 1440, 2000, 2879, 2880, 5000})
        t.AddNote(MakeNote(p, 1));
    t.AddNote(MakeNote(1300, 140)); // ends at the cut
    t.SelectNote(nullptr, true);
    ASSERT_TRUE(t.DeleteTime(1440, 1440));
    EXPECT_EQ(Positions(t), (std::vector<int32_t>{0, 1300, 1439, 1440, 3560}));
    EXPECT_EQ(SelectedPositions(t).size(), 3u) << "untouched notes keep their selection";
    EXPECT_TRUE(HoldsInvariants(t));
}

TEST(NoteStore, CopyWritesPositionsRelativeToTheFirstNote) {
    CTrack source;
    const CNote* second = source.AddNote(MakeNote(1920, 30, 40));
    const CNote* first = source.AddNote(MakeNote(960, 20, 30));
    CNote gliding = *first;
    gliding.portamentoLevel = -1;
    ASSERT_TRUE(source.UpdateNote(first, gliding));
    source.SelectNote(second, true);
    source.SelectNote(first, true);

    FileBytes expected;
    expected.u32(2).note(960, 30, 0, 40, 100).note(0, 20, 0, 30, 100, 0, 0, -1);
    EXPECT_EQ(CTrack::CopyNotes(source.Selection()), expected.bytes);
    EXPECT_EQ(first->position, 960) << "copying leaves the notes alone";

    CTrack target;
    const CNote* kept = target.AddNote(MakeNote(0, 10));
    target.SelectNote(kept, true);
    ASSERT_TRUE(target.PasteNotes(expected.bytes, 1920));
    EXPECT_EQ(SelectedPositions(target), (std::vector<int32_t>{0, 2880, 1920}));
    EXPECT_EQ(target.Selection()[2]->portamentoLevel, -1) << "0xFFFF reads back as -1";
    EXPECT_TRUE(HoldsInvariants(target));
    EXPECT_EQ(CTrack::CopyNotes({}), FileBytes().u32(0).bytes);
}

TEST(NoteStore, DamagedPastePayloadAddsNothing) {
    FileBytes one;
    one.u32(1).note(0, 10, 0, 50, 100);
    const std::vector<std::vector<uint8_t>> damaged = {
        {},
        {1, 0},
        FileBytes().u32(2).note(0, 10, 0, 50, 100).bytes, // count beyond the data
        FileBytes().u32(0xFFFFFFFF).bytes,                // absurd count
        {one.bytes.begin(), one.bytes.end() - 1},         // truncated record
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        CTrack t;
        EXPECT_FALSE(t.PasteNotes(damaged[i], 0)) << i;
        EXPECT_FALSE(t.HasNotes()) << i;
    }
    CTrack t;
    EXPECT_TRUE(t.PasteNotes(FileBytes().u32(0).bytes, 0));
    // Stored positions below 0 still land inside the song.
    EXPECT_TRUE(t.PasteNotes(FileBytes().u32(1).note(-500, 10, 0, 50, 100).bytes, 100));
    EXPECT_EQ(Positions(t), std::vector<int32_t>{0});
    EXPECT_TRUE(HoldsInvariants(t));
}

TEST(NoteStore, FindSelectsNotesMatchingEverySwitchedOnCriterion) {
    CTrack t;
    t.AddNote(MakeNote(0, 100));
    t.AddNote(MakeNote(1920, 100));
    FIND_DATA byPosition;
    byPosition.pos = 1;
    byPosition.posStart = 0;
    byPosition.posEnd = 1920;
    t.FindNotes(byPosition, false);
    EXPECT_EQ(SelectedPositions(t), std::vector<int32_t>{0}) << "the end is excluded";

    CTrack keys;
    for (int32_t key = 45; key <= 61; ++key)
        keys.AddNote(MakeNote((key - 45) * 10, 5, key));
    FIND_DATA byKey; // from C4 (59) up to C5 (47)
    byKey.key = 1;
    byKey.keyStart = 59;
    byKey.keyEnd = 47;
    keys.FindNotes(byKey, false);
    std::vector<int32_t> found;
    for (const CNote* n : keys.Selection())
        found.push_back(n->key);
    std::sort(found.begin(), found.end());
    std::vector<int32_t> expected;
    for (int32_t key = 47; key <= 59; ++key)
        expected.push_back(key);
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(HoldsInvariants(keys));
}

TEST(NoteStore, FindExtendsOrReplacesTheSelection) {
    CTrack t;
    const CNote* loud = t.AddNote(MakeNote(0, 100));
    CNote quietValues = MakeNote(200, 50);
    quietValues.volume = 10;
    t.AddNote(quietValues);
    FIND_DATA lengthAndVolume;
    lengthAndVolume.length = 1;
    lengthAndVolume.lengthStart = 50;
    lengthAndVolume.lengthEnd = 100;
    lengthAndVolume.volume = 1;
    lengthAndVolume.volumeStart = 0;
    lengthAndVolume.volumeEnd = 50;

    t.SelectNote(loud, true);
    t.FindNotes(lengthAndVolume, true);
    EXPECT_EQ(SelectedPositions(t), (std::vector<int32_t>{0, 200}));
    t.FindNotes(lengthAndVolume, true);
    EXPECT_EQ(t.Selection().size(), 2u) << "already selected notes are not added twice";
    t.FindNotes(lengthAndVolume, false);
    EXPECT_EQ(SelectedPositions(t), std::vector<int32_t>{200});
    EXPECT_TRUE(HoldsInvariants(t));
}

TEST(NoteStore, CopiedTrackHasItsOwnNotesWithTheSameSelection) {
    CTrack original;
    original.settings.name = "a";
    const CNote* a = original.AddNote(MakeNote(1900, 100));
    original.AddNote(MakeNote(10, 5));
    original.SelectNote(a, true);

    CTrack copy = original;
    EXPECT_TRUE(SameNotes(copy, original, true));
    EXPECT_TRUE(HoldsInvariants(copy));
    copy.RemoveAllNotes();
    EXPECT_EQ(original.NoteCount(), 2u);
    EXPECT_TRUE(HoldsInvariants(original));

    copy = original;
    copy = *&copy;
    EXPECT_TRUE(SameNotes(copy, original, true));
    CTrack moved = std::move(copy);
    EXPECT_TRUE(SameNotes(moved, original, true));
    EXPECT_TRUE(copy.BucketCount() == 0 && copy.Selection().empty());
    EXPECT_TRUE(HoldsInvariants(moved));
}

// Undo steps are copies of the song, so a track keeps its identity through them; a track
// made anew, read from a file or duplicated is another track.
TEST(NoteStore, CopiesKeepTheTracksIdentityAndNewTracksGetTheirOwn) {
    CTrack original;
    CTrack other;
    EXPECT_NE(original.Identity(), 0u);
    EXPECT_NE(original.Identity(), other.Identity());
    CTrack copy = original;
    EXPECT_EQ(copy.Identity(), original.Identity());
    other = original;
    EXPECT_EQ(other.Identity(), original.Identity());
    const CTrack moved = std::move(copy);
    EXPECT_EQ(moved.Identity(), original.Identity());
    other.TakeNewIdentity();
    EXPECT_NE(other.Identity(), original.Identity());

    CProject song;
    song.Reset();
    const std::vector<uint8_t> bytes = song.SaveToBytes();
    CProject read;
    ASSERT_TRUE(read.LoadFromBytes(bytes));
    EXPECT_NE(read.tracks[0].Identity(), song.tracks[0].Identity());
}

TEST(NoteStore, CopyKeepsBucketOrderAndSelectionOrder) {
    CTrack original;
    const CNote* late = original.AddNote(MakeNote(30, 1));
    const CNote* early = original.AddNote(MakeNote(10, 1));
    original.AddNote(MakeNote(1900, 100)); // crosses into the next bucket
    const CNote* next = original.AddNote(MakeNote(1950, 1));
    original.SelectNote(next, true);
    original.SelectNote(late, true);
    original.SelectNote(early, true);

    const CTrack copy = original;
    EXPECT_EQ(NoteStreamOf(copy), NoteStreamOf(original));
    ASSERT_EQ(copy.Selection().size(), 3u);
    EXPECT_EQ(copy.Selection()[0]->position, 1950);
    EXPECT_EQ(copy.Selection()[1]->position, 30);
    EXPECT_EQ(copy.Selection()[2]->position, 10);
    EXPECT_TRUE(HoldsInvariants(copy));
}

namespace {

// A plain list of notes that the store must agree with after every operation.
struct ReferenceNote {
    CNote values;
    bool selected = false;
};

using NoteKey =
    std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, bool>;

NoteKey KeyOf(const CNote& n, bool selected) {
    return {n.position,        n.length,           n.keyoff,          n.key,   n.volume,
            n.portamentoStart, n.portamentoLength, n.portamentoLevel, selected};
}

std::vector<NoteKey> Contents(const CTrack& t) {
    std::vector<NoteKey> keys;
    t.ForEachNote([&](const CNote* n) { keys.push_back(KeyOf(*n, n->selected != 0)); });
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::vector<NoteKey> Contents(const std::vector<ReferenceNote>& notes) {
    std::vector<NoteKey> keys;
    for (const ReferenceNote& n : notes)
        keys.push_back(KeyOf(n.values, n.selected));
    std::sort(keys.begin(), keys.end());
    return keys;
}

class RandomEdits {
public:
    explicit RandomEdits(uint32_t seed) : random(seed) {}

    void Step() {
        switch (random.Int(0, 11)) {
        case 0:
        case 1:
        case 2:
            Add();
            break;
        case 3:
            Remove();
            break;
        case 4:
        case 5:
            SelectOne();
            break;
        case 6:
            SelectAll(random.Chance(2));
            break;
        case 7:
            InsertTime();
            break;
        case 8:
            DeleteTime();
            break;
        case 9:
            Paste();
            break;
        case 10:
            Find();
            break;
        default:
            CopyBack();
            break;
        }
    }

    CTrack track;
    std::vector<ReferenceNote> reference;
    RandomSong random;

private:
    ReferenceNote* Match(const CNote* head) {
        for (ReferenceNote& r : reference)
            if (r.values.SameValues(*head) && r.selected == (head->selected != 0))
                return &r;
        return nullptr;
    }

    // Any segment of any note, as a caller holding a pointer might pass it.
    const CNote* RandomSegment() {
        if (track.BucketCount() == 0)
            return nullptr;
        const CSegmentRange list = track.Bucket(
            static_cast<size_t>(random.Int(0, static_cast<int32_t>(track.BucketCount()) - 1)));
        int32_t skip = random.Int(0, 3);
        for (const CNote* n : list)
            if (skip-- == 0 || n->NextInBucket() == nullptr)
                return n;
        return nullptr;
    }

    void Add() {
        if (reference.size() > 300)
            return;
        CNote n = random.Note(1920 * 12);
        track.AddNote(n);
        n.length = std::max(n.length, 1);
        reference.push_back({n, false});
    }

    void Remove() {
        const CNote* s = RandomSegment();
        if (s == nullptr)
            return;
        ReferenceNote* r = Match(s->Head());
        ASSERT_NE(r, nullptr);
        reference.erase(reference.begin() + (r - reference.data()));
        track.RemoveNote(s);
    }

    void SelectOne() {
        const CNote* s = RandomSegment();
        if (s == nullptr)
            return;
        ReferenceNote* r = Match(s->Head());
        ASSERT_NE(r, nullptr);
        bool select = random.Chance(2);
        int index = track.SelectNote(s, select);
        r->selected = select;
        if (select) {
            ASSERT_LT(static_cast<size_t>(index), track.Selection().size());
            EXPECT_EQ(track.Selection()[static_cast<size_t>(index)], s->Head());
        } else
            EXPECT_EQ(index, -1);
    }

    void SelectAll(bool select) {
        track.SelectNote(nullptr, select);
        for (ReferenceNote& r : reference)
            r.selected = select;
    }

    void InsertTime() {
        const int32_t tick = random.Int(0, 1920 * 14);
        const int32_t amount = random.Int(1, 4000);
        const bool straddled = std::any_of(reference.begin(), reference.end(), [&](auto& r) {
            return r.values.position < tick && tick < r.values.End();
        });
        EXPECT_EQ(track.InsertTime(tick, amount), !straddled);
        if (straddled)
            return;
        for (ReferenceNote& r : reference)
            if (r.values.position >= tick) {
                r.values.position += amount;
                r.selected = false;
            }
    }

    void DeleteTime() {
        const int32_t tick = random.Int(0, 1920 * 14);
        const int32_t amount = random.Int(1, 4000);
        EXPECT_TRUE(track.DeleteTime(tick, amount));
        std::erase_if(reference, [&](auto& r) {
            return r.values.position >= tick && r.values.position < tick + amount;
        });
        for (ReferenceNote& r : reference)
            if (r.values.position >= tick + amount) {
                r.values.position -= amount;
                r.selected = false;
            }
    }

    void Paste() {
        if (track.Selection().size() > 40)
            return;
        const std::vector<uint8_t> payload = CTrack::CopyNotes(track.Selection());
        int32_t first = INT32_MAX;
        for (const CNote* n : track.Selection())
            first = std::min(first, n->position);
        std::vector<ReferenceNote> pasted;
        const int32_t offset = random.Int(0, 1920 * 8);
        for (const CNote* n : track.Selection()) {
            CNote copy = *n;
            copy.position = n->position - first + offset;
            pasted.push_back({copy, true});
        }
        EXPECT_TRUE(track.PasteNotes(payload, offset));
        reference.insert(reference.end(), pasted.begin(), pasted.end());
    }

    void Find() {
        FIND_DATA c;
        c.pos = random.Chance(2);
        c.posStart = random.Int(0, 1920 * 8);
        c.posEnd = c.posStart + random.Int(0, 1920 * 8);
        c.length = random.Chance(3);
        c.lengthStart = random.Int(1, 500);
        c.lengthEnd = c.lengthStart + random.Int(0, 500);
        c.key = random.Chance(3);
        c.keyEnd = random.Int(0, 95);
        c.keyStart = random.Int(c.keyEnd, 95);
        c.volume = random.Chance(3);
        c.volumeStart = random.Int(0, 255);
        c.volumeEnd = random.Int(c.volumeStart, 255);
        const bool extend = random.Chance(2);
        track.FindNotes(c, extend);
        for (ReferenceNote& r : reference) {
            const CNote& n = r.values;
            const bool match =
                (!c.pos || (c.posStart <= n.position && n.position < c.posEnd)) &&
                (!c.length || (c.lengthStart <= n.length && n.length <= c.lengthEnd)) &&
                (!c.key || (c.keyEnd <= n.key && n.key <= c.keyStart)) &&
                (!c.volume || (c.volumeStart <= n.volume && n.volume <= c.volumeEnd));
            r.selected = (extend && r.selected) || match;
        }
    }

    void CopyBack() {
        if (random.Chance(20)) {
            track.RemoveAllNotes();
            reference.clear();
            return;
        }
        CTrack copy = track;
        track = copy;
    }
};

} // namespace

TEST(NoteStore, RandomEditsAgreeWithAPlainListAndKeepTheInvariants) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        RandomEdits edits(seed);
        for (int step = 0; step < 1500; ++step) {
            edits.Step();
            ASSERT_TRUE(HoldsInvariants(edits.track)) << "seed " << seed << " step " << step;
            ASSERT_EQ(Contents(edits.track), Contents(edits.reference))
                << "seed " << seed << " step " << step;
        }
    }
}
