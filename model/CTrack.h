#pragma once
// A track: its settings and its notes. Notes live in 1920-tick buckets, each the head of
// a singly linked list of the note segments overlapping it, so the notes sounding at a
// tick are found by walking one short list. The track owns every segment.
//
// The store is sealed: readers see the bucket lists, the selection and the notes only
// through const views, and the operations below are the only way to change them. Notes
// are named by the `const CNote*` handles the views and AddNote give out (any segment of
// a note will do); a handle goes stale when its note is removed, replaced or moved.

#include "model/CNote.h"
#include "model/CSegmentRange.h"
#include "model/CTrackData.h"
#include "model/FindData.h"

#include <cstdint>
#include <span>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

class CTrack {
public:
    static constexpr int32_t kBucketTicks = 1920;

    CTrackData settings;

    CTrack() = default;
    ~CTrack();
    CTrack(const CTrack& other);
    CTrack& operator=(const CTrack& other);
    CTrack(CTrack&& other) noexcept;
    CTrack& operator=(CTrack&& other) noexcept;

    static int32_t BucketOf(int32_t tick) { return tick / kBucketTicks; }

    // Which track this is across copies of the song: copies (undo steps) keep it, a track
    // made or read gets a new one, and a duplicate the user makes takes a new one too.
    // Never saved; never 0.
    uint64_t Identity() const { return identity; }
    void TakeNewIdentity();
    // Names the notes and the selection as they are: every change of them gives a new
    // one, copies keep it, so two tracks with the same revision hold the same notes (what
    // lets the undo steps share the tracks an edit did not touch). Not the settings.
    uint64_t NoteRevision() const { return revision; }

    // Bucket b lists the segments overlapping ticks [b × 1920, (b + 1) × 1920); the array
    // ends with a bucket in use.
    size_t BucketCount() const { return buckets.size(); }
    CSegmentRange Bucket(size_t b) const { return CSegmentRange(buckets[b]); }
    // Heads of the selected notes, in the order they were selected.
    std::span<const CNote* const> Selection() const { return selection; }

    // Adds a note with the given values and returns its head. A length below 1 is stored
    // as 1; a negative position as 0; a length that would pass the last tick is shortened.
    const CNote* AddNote(const CNote& values);
    // Removes the whole note of which `note` is any segment.
    void RemoveNote(const CNote* note);
    void RemoveAllNotes();
    // Replaces a note by one with new values, keeping its place in the selection. Returns
    // the new head.
    const CNote* ReplaceNote(const CNote* note, const CNote& values);
    // Gives every segment of a note new values in place, keeping its head, its place in
    // the bucket lists and in the selection. Only for values with the note's position and
    // length; others would move the note, and nothing changes (false).
    bool UpdateNote(const CNote* note, const CNote& values);
    // Four modes: (null, false) clears the selection; (note, false) deselects one note;
    // (null, true) selects all; (note, true) selects one and returns its selection index.
    int SelectNote(const CNote* note, bool select);

    // Shifts notes at or after `tick` later; false (nothing changed) if a note straddles it.
    bool InsertTime(int32_t tick, int32_t amount);
    // Removes notes starting in [tick, tick + amount) and moves later ones back.
    bool DeleteTime(int32_t tick, int32_t amount);
    // True when a note has position < tick < position + length.
    bool Straddles(int32_t tick) const;

    // "TSQ_NOTE" payload of the given heads: count, then records with positions relative
    // to the smallest one.
    static std::vector<uint8_t> CopyNotes(std::span<const CNote* const> notes);
    // Adds the notes of a "TSQ_NOTE" payload at offset, selected. A damaged payload adds
    // nothing and returns false.
    bool PasteNotes(std::span<const uint8_t> payload, int32_t offset);
    void FindNotes(const FIND_DATA& criteria, bool extend);

    // Heads in enumeration order: buckets in order, each list in order.
    template <class F> void ForEachNote(F&& f) const {
        for (const CNote* segment : buckets)
            for (const CNote* n = segment; n != nullptr; n = n->NextInBucket())
                if (n->IsHead())
                    f(n);
    }
    CConstNoteArray Notes() const;
    size_t NoteCount() const;
    bool HasNotes() const { return !buckets.empty(); }
    // Greatest end tick of the track's notes; 0 without notes.
    int32_t EndTick() const;
    // Note segments plus bucket slots: what the notes make the track hold, counted against
    // the song's limit (SongLimits.h).
    uint64_t StorageCost() const;

    void Serialize(CArchiveWriter& ar) const;
    // Reads settings and notes. `segmentBudget` bounds the segments and bucket entries a
    // damaged file can make the track allocate; it is decreased by what the notes use. The
    // overload without it allows a whole song's budget.
    void Serialize(CArchiveReader& ar, uint32_t version, uint64_t& segmentBudget);
    void Serialize(CArchiveReader& ar, uint32_t version);

private:
    // The invariant tests break a store on purpose to see the checks find it.
    friend struct NoteStoreTamper;

    // A handle this track gave out, to write through: the track owns its segments.
    CNote* Own(const CNote* note);
    bool Holds(const CNote* note) const;
    static void SetChainSelected(CNote* note, uint32_t value);
    // Heads in buckets [fromBucket, end) whose values satisfy `wanted`.
    template <class Pred> CNoteArray HeadsFrom(size_t fromBucket, Pred wanted) const;
    CNote* AddChain(const CNote& values);
    void RemoveChain(CNote* head);
    void CopyNotesFrom(const CTrack& other);
    void TrimBuckets();
    void ShiftNotes(const CNoteArray& heads, int32_t amount);
    void WriteNoteStream(CArchiveWriter& ar) const;
    void ReadNoteStream(CArchiveReader& ar, uint64_t& segmentBudget);

    // Identities and revisions come from one counter, so no two ever meet by chance.
    static uint64_t NextIdentity();
    void Touch() { revision = NextIdentity(); }

    uint64_t identity = NextIdentity();
    uint64_t revision = NextIdentity();
    uint64_t segmentCount = 0; // kept as segments come and go: every edit asks for it
    CNoteArray buckets;        // owning, through the segment lists
    CNoteArray selection;      // heads of the selected notes, in the order selected
};
