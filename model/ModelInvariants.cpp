#include "model/ModelInvariants.h"

#include "model/CProject.h"
#include "model/CTrack.h"

#include <cmath>
#include <cstdint>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

namespace {

using BucketOfSegment = std::unordered_map<const CNote*, size_t>;

template <class... Parts> Result Fail(const Parts&... parts) {
    std::ostringstream text;
    (text << ... << parts);
    return Result::Fail(text.str());
}

// Every segment with the bucket that lists it; a segment met twice (listed in two buckets,
// or a list that runs in a circle) is a fault.
Result ListSegments(const CTrack& track, BucketOfSegment& bucketOf) {
    const size_t count = track.BucketCount();
    if (count != 0 && track.Bucket(count - 1).empty())
        return Fail("bucket array ends with an empty bucket (size ", count, ")");
    for (size_t b = 0; b < count; ++b)
        for (const CNote* n : track.Bucket(b))
            if (!bucketOf.emplace(n, b).second)
                return Fail("segment listed twice (bucket ", b, ")");
    return Result::Ok();
}

Result CheckHeadValues(const CNote& head) {
    if (head.position < 0 || head.length < 1 || int64_t{head.position} + head.length > INT32_MAX)
        return Fail("note at ", head.position, " has length ", head.length);
    if (head.selected > 1)
        return Fail("note at ", head.position, " has selected = ", head.selected);
    return Result::Ok();
}

// Walks the chain of `head` against its buckets and counts its segments into `chained`.
Result CheckChain(const CNote* head, const BucketOfSegment& bucketOf, size_t& chained) {
    if (Result r = CheckHeadValues(*head); !r)
        return r;
    const auto first = static_cast<size_t>(head->position / CTrack::kBucketTicks);
    const auto last =
        static_cast<size_t>((head->position + head->length - 1) / CTrack::kBucketTicks);
    const CNote* previous = nullptr;
    const CNote* segment = head;
    for (size_t b = first; b <= last; ++b) {
        if (segment == nullptr)
            return Fail("chain of note at ", head->position, " ends before bucket ", b);
        const auto where = bucketOf.find(segment);
        if (where == bucketOf.end())
            return Fail("segment of note at ", head->position, " is in no bucket");
        if (where->second != b)
            return Fail("segment of note at ", head->position, " is in bucket ", where->second,
                        ", expected ", b);
        if (segment->PrevSegment() != previous)
            return Fail("broken back link in note at ", head->position);
        if (!segment->SameValues(*head) || segment->selected != head->selected)
            return Fail("segments of note at ", head->position, " disagree");
        ++chained;
        previous = segment;
        segment = segment->NextSegment();
    }
    if (segment != nullptr)
        return Fail("chain of note at ", head->position, " runs past bucket ", last);
    return Result::Ok();
}

Result CheckSelection(const CTrack& track, const BucketOfSegment& bucketOf, size_t flagged) {
    std::unordered_set<const CNote*> listed;
    for (const CNote* n : track.Selection()) {
        if (bucketOf.count(n) == 0 || !n->IsHead())
            return Fail("selection holds something that is not a head of this track");
        if (n->selected != 1)
            return Fail("selection holds an unselected note at ", n->position);
        if (!listed.insert(n).second)
            return Fail("selection holds the note at ", n->position, " twice");
    }
    if (flagged != track.Selection().size())
        return Fail(flagged, " notes are flagged but ", track.Selection().size(), " listed");
    return Result::Ok();
}

template <class List, class Key>
Result CheckSortedFromZero(const List& list, Key key, const char* name) {
    if (list.size() == 0)
        return Fail(name, " list is empty");
    if (key(list[0]) != 0)
        return Fail(name, " list starts at ", key(list[0]));
    for (size_t i = 1; i < list.size(); ++i)
        if (key(list[i]) <= key(list[i - 1]))
            return Fail(name, " list is not strictly sorted at element ", i);
    return Result::Ok();
}

Result CheckTimeLists(const CProjectData& d) {
    if (Result r = CheckSortedFromZero(
            d.tempos, [](const TEMPO& t) { return t.position; }, "tempo");
        !r)
        return r;
    if (Result r = CheckSortedFromZero(
            d.volumes, [](const VOLUME& v) { return v.position; }, "volume");
        !r)
        return r;
    if (Result r = CheckSortedFromZero(
            d.beats, [](const BEAT& b) { return b.measure; }, "beat");
        !r)
        return r;
    for (const TEMPO& t : d.tempos)
        if (!std::isfinite(t.tempo) || t.tempo <= 0)
            return Fail("tempo ", t.tempo, " at ", t.position);
    for (const BEAT& b : d.beats)
        if (b.beat < 1 || b.baseBeat < 1 || b.MeasureLength() < 1)
            return Fail("signature ", b.beat, "/", b.baseBeat, " at measure ", b.measure);
    return Result::Ok();
}

} // namespace

Result CheckInvariants(const CTrack& track) {
    BucketOfSegment bucketOf;
    if (Result r = ListSegments(track, bucketOf); !r)
        return r;
    size_t chained = 0;
    size_t flagged = 0;
    for (const auto& [segment, bucket] : bucketOf) {
        if (!segment->IsHead())
            continue;
        if (Result r = CheckChain(segment, bucketOf, chained); !r)
            return r;
        flagged += segment->selected;
    }
    if (chained != bucketOf.size())
        return Fail(bucketOf.size() - chained, " segments belong to no chain");
    if (track.StorageCost() != bucketOf.size() + track.BucketCount())
        return Fail("the track counts ", track.StorageCost() - track.BucketCount(),
                    " segments but holds ", bucketOf.size());
    return CheckSelection(track, bucketOf, flagged);
}

Result CheckInvariants(const CProject& project) {
    if (Result r = CheckTimeLists(project.data); !r)
        return r;
    for (size_t i = 0; i < project.tracks.size(); ++i)
        if (Result r = CheckInvariants(project.tracks[i]); !r)
            return Fail(r.message, " (track ", i, ")");
    return Result::Ok();
}
