#pragma once
// A note of a track. A note is stored as one segment per 1920-tick bucket it touches;
// the segments form a chain (prevSegment/nextSegment) and carry identical values. The
// head, the segment without a predecessor, is the note's identity.
//
// A free-standing CNote is a plain value: callers fill one and hand it to the track. A
// stored note is only ever seen as `const CNote*`; its links belong to the track, which is
// the only one to change a segment, and always the whole chain at once.

#include <cstddef>
#include <cstdint>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

class CNote {
public:
    int32_t position = 0;         // start tick, >= 0
    int32_t length = 1;           // ticks, >= 1
    int32_t keyoff = 0;           // release starts keyoff ticks before the end
    int32_t key = 0;              // 0 = B8 .. 95 = C1
    int32_t volume = 255;         // 0..255
    int32_t portamentoStart = 0;  // ticks after position
    int32_t portamentoLength = 0; // ticks
    int32_t portamentoLevel = 0;  // 1/256 semitone
    uint32_t selected = 0;        // 1 while the note is in its track's selection

    static constexpr size_t kRecordSize = 25;

    CNote() = default;
    // Copies carry the values only; a copy is never part of a chain or a bucket.
    CNote(const CNote& other) { CopyValues(other); }
    CNote& operator=(const CNote& other) {
        CopyValues(other);
        selected = 0;
        prevSegment = nextSegment = nextInBucket = nullptr;
        return *this;
    }

    const CNote* PrevSegment() const { return prevSegment; }
    const CNote* NextSegment() const { return nextSegment; }
    const CNote* NextInBucket() const { return nextInBucket; }
    const CNote* Head() const;
    bool IsHead() const { return prevSegment == nullptr; }
    int32_t End() const { return position + length; }
    bool Covers(int32_t tick) const { return position <= tick && tick < position + length; }
    bool HasPortamento() const { return portamentoLength != 0 && portamentoLevel != 0; }
    // Same stored values (not links or selection).
    bool SameValues(const CNote& other) const;

    // Writes the 25-byte note record, with `position` replaced by the given value.
    void Serialize(CArchiveWriter& ar, int32_t storedPosition) const;
    void Serialize(CArchiveWriter& ar) const { Serialize(ar, position); }
    // Reads the 21 bytes that follow the position of a note record.
    static CNote ReadRecord(CArchiveReader& ar, int32_t position);

private:
    friend class CTrack;
    // The invariant tests break a store on purpose to see the checks find it.
    friend struct NoteStoreTamper;

    // The stored values only: position to portamentoLevel.
    void CopyValues(const CNote& other);
    CNote* MutableHead() { return const_cast<CNote*>(Head()); }
    // Applies f to every segment of this note's chain, from the head.
    template <class F> void ForEachSegment(F&& f) {
        for (CNote* s = MutableHead(); s != nullptr; s = s->nextSegment)
            f(*s);
    }

    CNote* prevSegment = nullptr;
    CNote* nextSegment = nullptr;
    CNote* nextInBucket = nullptr;
};

using CNoteArray = std::vector<CNote*>;
using CConstNoteArray = std::vector<const CNote*>;
