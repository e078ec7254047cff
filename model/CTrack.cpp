#include "model/CTrack.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/SongLimits.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <limits>
#include <unordered_map>
#include <utility>

namespace {

constexpr int32_t kLastTick = std::numeric_limits<int32_t>::max();

// Brings values into the range a stored note must have.
void Normalize(CNote& v) {
    v.position = std::clamp(v.position, 0, kLastTick - 1);
    v.length = std::max(v.length, 1);
    if (int64_t{v.position} + v.length > kLastTick)
        v.length = kLastTick - v.position;
}

uint64_t SegmentCount(const CNote& v) {
    return songlimits::SegmentCount(v.position, v.length);
}

int FindFromEnd(const CNoteArray& list, const CNote* head) {
    for (size_t i = list.size(); i-- > 0;)
        if (list[i] == head)
            return static_cast<int>(i);
    return -1;
}

} // namespace

CNote* CTrack::Own(const CNote* note) {
    assert(Holds(note) && "a note of another track, or one already removed");
    return const_cast<CNote*>(note);
}

// A debug check only: it walks the bucket list of the note's head.
bool CTrack::Holds(const CNote* note) const {
    const CNote* head = note->Head();
    const auto b = static_cast<size_t>(BucketOf(head->position));
    if (b >= buckets.size())
        return false;
    for (const CNote* n = buckets[b]; n != nullptr; n = n->nextInBucket)
        if (n == head)
            return true;
    return false;
}

void CTrack::SetChainSelected(CNote* note, uint32_t value) {
    note->ForEachSegment([value](CNote& s) { s.selected = value; });
}

// Tracks are made on build threads too (the copies a build renders).
uint64_t CTrack::NextIdentity() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

// A duplicate is a track of its own, also for the undo steps that share tracks.
void CTrack::TakeNewIdentity() {
    identity = NextIdentity();
    Touch();
}

CTrack::~CTrack() {
    RemoveAllNotes();
}

CTrack::CTrack(const CTrack& other) : settings(other.settings), identity(other.identity) {
    CopyNotesFrom(other);
    revision = other.revision;
}

CTrack& CTrack::operator=(const CTrack& other) {
    if (this != &other) {
        RemoveAllNotes();
        settings = other.settings;
        identity = other.identity;
        CopyNotesFrom(other);
        revision = other.revision;
    }
    return *this;
}

CTrack::CTrack(CTrack&& other) noexcept
    : settings(std::move(other.settings)), identity(other.identity), revision(other.revision),
      segmentCount(std::exchange(other.segmentCount, 0)), buckets(std::move(other.buckets)),
      selection(std::move(other.selection)) {
    other.buckets.clear();
    other.selection.clear();
    other.Touch();
}

CTrack& CTrack::operator=(CTrack&& other) noexcept {
    if (this != &other) {
        RemoveAllNotes();
        settings = std::move(other.settings);
        identity = other.identity;
        revision = other.revision;
        segmentCount = std::exchange(other.segmentCount, 0);
        buckets = std::move(other.buckets);
        selection = std::move(other.selection);
        other.buckets.clear();
        other.selection.clear();
        other.Touch();
    }
    return *this;
}

// Undo snapshots are copies, so a copy keeps the order of every bucket (which decides the
// saved bytes and the order the renderer sums notes in) and the order of the selection.
void CTrack::CopyNotesFrom(const CTrack& other) {
    std::unordered_map<const CNote*, const CNote*> selectedCopies;
    selectedCopies.reserve(other.selection.size());
    CConstNoteArray heads;
    for (const CNote* segment : other.buckets) {
        heads.clear();
        for (const CNote* n = segment; n != nullptr; n = n->nextInBucket)
            if (n->IsHead())
                heads.push_back(n);
        // Each note goes in front of its bucket: the oldest first.
        for (auto it = heads.rbegin(); it != heads.rend(); ++it) {
            const CNote* copy = AddChain(**it);
            if ((*it)->selected)
                selectedCopies.emplace(*it, copy);
        }
    }
    for (const CNote* head : other.selection)
        SelectNote(selectedCopies.at(head), true);
}

const CNote* CTrack::AddNote(const CNote& values) {
    Touch();
    return AddChain(values);
}

CNote* CTrack::AddChain(const CNote& values) {
    CNote v = values;
    Normalize(v);
    const int32_t first = BucketOf(v.position);
    const int32_t last = BucketOf(v.position + v.length - 1);
    if (buckets.size() < static_cast<size_t>(last) + 1)
        buckets.resize(static_cast<size_t>(last) + 1, nullptr);
    CNote* head = nullptr;
    CNote* previous = nullptr;
    for (int32_t b = first; b <= last; ++b) {
        auto* segment = new CNote(v);
        ++segmentCount;
        segment->prevSegment = previous;
        segment->nextInBucket = buckets[static_cast<size_t>(b)];
        buckets[static_cast<size_t>(b)] = segment;
        if (previous != nullptr)
            previous->nextSegment = segment;
        else
            head = segment;
        previous = segment;
    }
    return head;
}

void CTrack::RemoveNote(const CNote* note) {
    Touch();
    RemoveChain(Own(note)->MutableHead());
}

void CTrack::RemoveChain(CNote* segment) {
    if (segment->selected)
        SelectNote(segment, false);
    for (size_t b = static_cast<size_t>(BucketOf(segment->position)); segment != nullptr; ++b) {
        CNote** link = &buckets[b];
        while (*link != nullptr && *link != segment)
            link = &(*link)->nextInBucket;
        if (*link != nullptr)
            *link = segment->nextInBucket;
        CNote* next = segment->nextSegment;
        delete segment;
        --segmentCount;
        segment = next;
    }
    TrimBuckets();
}

void CTrack::TrimBuckets() {
    while (!buckets.empty() && buckets.back() == nullptr)
        buckets.pop_back();
}

void CTrack::RemoveAllNotes() {
    Touch();
    for (CNote* segment : buckets) {
        while (segment != nullptr) {
            CNote* next = segment->nextInBucket;
            delete segment;
            segment = next;
        }
    }
    buckets.clear();
    selection.clear();
    segmentCount = 0;
}

const CNote* CTrack::ReplaceNote(const CNote* note, const CNote& values) {
    Touch();
    CNote* old = Own(note)->MutableHead();
    CNote* added = AddChain(values);
    if (old->selected) {
        int index = FindFromEnd(selection, old);
        SetChainSelected(old, 0);
        SetChainSelected(added, 1);
        if (index >= 0)
            selection[static_cast<size_t>(index)] = added;
        else
            selection.push_back(added);
    }
    RemoveChain(old);
    return added;
}

bool CTrack::UpdateNote(const CNote* note, const CNote& values) {
    Touch();
    CNote* head = Own(note)->MutableHead();
    if (values.position != head->position || values.length != head->length)
        return false;
    head->ForEachSegment([&values](CNote& s) { s.CopyValues(values); });
    return true;
}

int CTrack::SelectNote(const CNote* note, bool select) {
    Touch();
    if (note == nullptr && !select) {
        for (CNote* head : selection)
            SetChainSelected(head, 0);
        selection.clear();
        return -1;
    }
    if (note == nullptr) {
        for (CNote* segment : buckets)
            for (CNote* n = segment; n != nullptr; n = n->nextInBucket)
                if (!n->selected) {
                    SetChainSelected(n, 1);
                    selection.push_back(n->MutableHead());
                }
        return -1;
    }
    CNote* head = Own(note)->MutableHead();
    if (!select) {
        int index = FindFromEnd(selection, head);
        if (index >= 0) {
            SetChainSelected(head, 0);
            selection.erase(selection.begin() + index);
        }
        return -1;
    }
    if (head->selected)
        return FindFromEnd(selection, head);
    SetChainSelected(head, 1);
    selection.push_back(head);
    return static_cast<int>(selection.size()) - 1;
}

bool CTrack::Straddles(int32_t tick) const {
    const auto b = static_cast<size_t>(BucketOf(std::max(tick, 0)));
    if (b >= buckets.size())
        return false;
    for (const CNote* n = buckets[b]; n != nullptr; n = n->nextInBucket)
        if (n->position < tick && tick < n->End())
            return true;
    return false;
}

void CTrack::ShiftNotes(const CNoteArray& heads, int32_t amount) {
    Touch();
    for (CNote* head : heads) {
        CNote moved = *head;
        moved.position = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{head->position} + amount, 0, kLastTick - 1));
        AddNote(moved);
        RemoveChain(head);
    }
}

template <class Pred> CNoteArray CTrack::HeadsFrom(size_t fromBucket, Pred wanted) const {
    CNoteArray heads;
    for (size_t b = fromBucket; b < buckets.size(); ++b)
        for (CNote* n = buckets[b]; n != nullptr; n = n->nextInBucket)
            if (n->IsHead() && wanted(*n))
                heads.push_back(n);
    return heads;
}

bool CTrack::InsertTime(int32_t tick, int32_t amount) {
    if (Straddles(tick))
        return false;
    const auto from = static_cast<size_t>(BucketOf(std::max(tick, 0)));
    ShiftNotes(HeadsFrom(from, [tick](const CNote& n) { return n.position >= tick; }), amount);
    return true;
}

bool CTrack::DeleteTime(int32_t tick, int32_t amount) {
    Touch();
    const int64_t end = int64_t{tick} + amount;
    const auto from = static_cast<size_t>(BucketOf(std::max(tick, 0)));
    for (CNote* n :
         HeadsFrom(from, [&](const CNote& n) { return n.position >= tick && n.position < end; }))
        RemoveChain(n);
    ShiftNotes(HeadsFrom(from, [&](const CNote& n) { return n.position >= end; }), -amount);
    return true;
}

std::vector<uint8_t> CTrack::CopyNotes(std::span<const CNote* const> notes) {
    int32_t first = kLastTick;
    for (const CNote* n : notes)
        first = std::min(first, n->position);
    CArchiveWriter ar;
    ar.U32(static_cast<uint32_t>(notes.size()));
    for (const CNote* n : notes)
        n->Serialize(ar, n->position - first);
    return ar.Take();
}

bool CTrack::PasteNotes(std::span<const uint8_t> payload, int32_t offset) {
    std::vector<CNote> pasted;
    try {
        CArchiveReader ar(payload);
        uint32_t count = ar.U32();
        ar.Require(count, CNote::kRecordSize);
        uint64_t budget = songlimits::kSegmentBudget;
        pasted.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            int32_t stored = ar.I32();
            CNote n = CNote::ReadRecord(ar, stored);
            n.position = static_cast<int32_t>(
                std::clamp<int64_t>(int64_t{stored} + offset, 0, kLastTick - 1));
            Normalize(n);
            if (SegmentCount(n) > budget)
                return false;
            budget -= SegmentCount(n);
            pasted.push_back(n);
        }
    } catch (const ArchiveError&) {
        return false;
    }
    for (const CNote& n : pasted)
        SelectNote(AddNote(n), true);
    return true;
}

void CTrack::FindNotes(const FIND_DATA& c, bool extend) {
    if (!extend)
        SelectNote(nullptr, false);
    auto matches = [&c](const CNote& n) {
        return (!c.pos || (c.posStart <= n.position && n.position < c.posEnd)) &&
               (!c.length || (c.lengthStart <= n.length && n.length <= c.lengthEnd)) &&
               (!c.keyoff || (c.keyoffStart <= n.keyoff && n.keyoff <= c.keyoffEnd)) &&
               (!c.key || (c.keyEnd <= n.key && n.key <= c.keyStart)) &&
               (!c.volume || (c.volumeStart <= n.volume && n.volume <= c.volumeEnd));
    };
    for (const CNote* n : Notes())
        if (!n->selected && matches(*n))
            SelectNote(n, true);
}

CConstNoteArray CTrack::Notes() const {
    CConstNoteArray heads;
    ForEachNote([&heads](const CNote* n) { heads.push_back(n); });
    return heads;
}

size_t CTrack::NoteCount() const {
    size_t count = 0;
    ForEachNote([&count](const CNote*) { ++count; });
    return count;
}

int32_t CTrack::EndTick() const {
    for (size_t b = buckets.size(); b-- > 0;) {
        if (buckets[b] == nullptr)
            continue;
        int32_t end = 0;
        for (const CNote* n = buckets[b]; n != nullptr; n = n->nextInBucket)
            end = std::max(end, n->End());
        return end;
    }
    return 0;
}

uint64_t CTrack::StorageCost() const {
    return segmentCount + buckets.size();
}

void CTrack::Serialize(CArchiveWriter& ar) const {
    settings.Serialize(ar);
    WriteNoteStream(ar);
}

void CTrack::Serialize(CArchiveReader& ar, uint32_t version, uint64_t& segmentBudget) {
    RemoveAllNotes();
    Touch();
    settings.Serialize(ar, version);
    ReadNoteStream(ar, segmentBudget);
}

void CTrack::Serialize(CArchiveReader& ar, uint32_t version) {
    uint64_t budget = songlimits::kSegmentBudget;
    Serialize(ar, version, budget);
}

void CTrack::WriteNoteStream(CArchiveWriter& ar) const {
    CConstNoteArray heads;
    for (const CNote* segment : buckets) {
        heads.clear();
        for (const CNote* n = segment; n != nullptr; n = n->nextInBucket)
            if (n->IsHead())
                heads.push_back(n);
        // Oldest first: reading adds each note in front of its bucket, so the lists come
        // back in the same order and a save of a loaded file is byte for byte the same.
        for (auto it = heads.rbegin(); it != heads.rend(); ++it)
            (*it)->Serialize(ar);
        ar.I32(-1);
    }
    ar.I32(-2);
}

void CTrack::ReadNoteStream(CArchiveReader& ar, uint64_t& segmentBudget) {
    for (;;) {
        int32_t position = ar.I32();
        if (position == -1)
            continue;
        if (position == -2)
            return;
        if (position < 0)
            throw ArchiveError("note at negative position " + std::to_string(position));
        CNote n = CNote::ReadRecord(ar, position);
        Normalize(n);
        // A note far out grows the bucket array as much as many notes would: both count,
        // or a small file of many tracks with one distant note each could exhaust memory.
        const auto needed = static_cast<uint64_t>(BucketOf(n.End() - 1)) + 1;
        const uint64_t cost =
            SegmentCount(n) + (needed > buckets.size() ? needed - buckets.size() : 0);
        if (cost > segmentBudget)
            throw ArchiveError("notes exceed the size a song can have");
        segmentBudget -= cost;
        AddNote(n);
    }
}
