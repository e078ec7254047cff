#pragma once
// Structural checks that every operation on the song model must preserve. Use them after
// each step of a test: EXPECT_TRUE(CheckInvariants(track)).
//
// Track: every segment sits in exactly one bucket list; every chain runs from a head in
// bucket position/1920 to a tail in bucket (position+length-1)/1920, one segment per bucket,
// all with the same values and selection flag; the bucket array ends with a used bucket;
// `selection` holds each selected head once and nothing else.
// Project: the time lists are non-empty, strictly sorted and start at 0, with tempos and
// signatures that keep the arithmetic defined; every track holds its own invariants.

#include "model/CProject.h"
#include "model/CTrack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <sstream>

namespace invariants_detail {

template <class... Parts>::testing::AssertionResult Fail(const Parts&... parts) {
    std::ostringstream text;
    (text << ... << parts);
    return ::testing::AssertionFailure() << text.str();
}

// Walks the chain of `head` and checks it against its buckets; adds its segments to `chained`.
inline ::testing::AssertionResult CheckChain(const CNote* head,
                                             const std::map<const CNote*, size_t>& bucketOf,
                                             std::set<const CNote*>& chained) {
    if (head->position < 0 || head->length < 1 ||
        int64_t{head->position} + head->length > INT32_MAX)
        return Fail("note at ", head->position, " has length ", head->length);
    if (head->selected > 1)
        return Fail("note at ", head->position, " has selected = ", head->selected);
    const size_t first = static_cast<size_t>(head->position / CTrack::kBucketTicks);
    const size_t last =
        static_cast<size_t>((head->position + head->length - 1) / CTrack::kBucketTicks);
    const CNote* previous = nullptr;
    const CNote* segment = head;
    for (size_t b = first; b <= last; ++b) {
        if (segment == nullptr)
            return Fail("chain of note at ", head->position, " ends before bucket ", b);
        auto where = bucketOf.find(segment);
        if (where == bucketOf.end())
            return Fail("segment of note at ", head->position, " is in no bucket");
        if (where->second != b)
            return Fail("segment of note at ", head->position, " is in bucket ", where->second,
                        ", expected ", b);
        if (segment->prevSegment != previous)
            return Fail("broken back link in note at ", head->position);
        if (!segment->SameValues(*head) || segment->selected != head->selected)
            return Fail("segments of note at ", head->position, " disagree");
        chained.insert(segment);
        previous = segment;
        segment = segment->nextSegment;
    }
    if (segment != nullptr)
        return Fail("chain of note at ", head->position, " runs past bucket ", last);
    return ::testing::AssertionSuccess();
}

} // namespace invariants_detail

inline ::testing::AssertionResult CheckInvariants(const CTrack& track) {
    using invariants_detail::Fail;
    if (!track.buckets.empty() && track.buckets.back() == nullptr)
        return Fail("bucket array ends with an empty bucket (size ", track.buckets.size(), ")");
    std::map<const CNote*, size_t> bucketOf;
    for (size_t b = 0; b < track.buckets.size(); ++b)
        for (const CNote* n = track.buckets[b]; n != nullptr; n = n->nextInBucket)
            if (!bucketOf.emplace(n, b).second)
                return Fail("segment listed twice (bucket ", b, ")");
    std::set<const CNote*> chained;
    size_t selectedHeads = 0;
    for (const auto& [segment, bucket] : bucketOf) {
        if (!segment->IsHead())
            continue;
        if (auto r = invariants_detail::CheckChain(segment, bucketOf, chained); !r)
            return r;
        selectedHeads += segment->selected;
    }
    if (chained.size() != bucketOf.size())
        return Fail(bucketOf.size() - chained.size(), " segments belong to no chain");
    std::set<const CNote*> listed;
    for (const CNote* n : track.selection) {
        if (bucketOf.count(n) == 0 || !n->IsHead())
            return Fail("selection holds something that is not a head of this track");
        if (n->selected != 1)
            return Fail("selection holds an unselected note at ", n->position);
        if (!listed.insert(n).second)
            return Fail("selection holds the note at ", n->position, " twice");
    }
    if (selectedHeads != track.selection.size())
        return Fail(selectedHeads, " notes are flagged but ", track.selection.size(), " listed");
    return ::testing::AssertionSuccess();
}

namespace invariants_detail {

template <class List, class Key>
::testing::AssertionResult CheckSortedFromZero(const List& list, Key key, const char* name) {
    if (list.size() == 0)
        return Fail(name, " list is empty");
    if (key(list[0]) != 0)
        return Fail(name, " list starts at ", key(list[0]));
    for (size_t i = 1; i < list.size(); ++i)
        if (key(list[i]) <= key(list[i - 1]))
            return Fail(name, " list is not strictly sorted at element ", i);
    return ::testing::AssertionSuccess();
}

} // namespace invariants_detail

inline ::testing::AssertionResult CheckInvariants(const CProject& project) {
    using invariants_detail::CheckSortedFromZero;
    using invariants_detail::Fail;
    const CProjectData& d = project.data;
    if (auto r = CheckSortedFromZero(
            d.tempos, [](const TEMPO& t) { return t.position; }, "tempo");
        !r)
        return r;
    if (auto r = CheckSortedFromZero(
            d.volumes, [](const VOLUME& v) { return v.position; }, "volume");
        !r)
        return r;
    if (auto r = CheckSortedFromZero(
            d.beats, [](const BEAT& b) { return b.measure; }, "beat");
        !r)
        return r;
    for (const TEMPO& t : d.tempos)
        if (!std::isfinite(t.tempo) || t.tempo <= 0)
            return Fail("tempo ", t.tempo, " at ", t.position);
    for (const BEAT& b : d.beats)
        if (b.beat < 1 || b.baseBeat < 1 || b.MeasureLength() < 1)
            return Fail("signature ", b.beat, "/", b.baseBeat, " at measure ", b.measure);
    for (size_t i = 0; i < project.tracks.size(); ++i)
        if (auto r = CheckInvariants(project.tracks[i]); !r)
            return r << " (track " << i << ")";
    return ::testing::AssertionSuccess();
}
