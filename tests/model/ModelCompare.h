#pragma once
// Deep comparison of songs for round-trip tests: every stored value, the note store bucket
// by bucket, and optionally the selection. Byte comparison of saved files catches a change
// in the order of notes within a bucket.

#include "model/CProject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace compare_detail {

using NoteValues = std::array<int64_t, 9>;

// The heads of one bucket list as sorted values: the order of notes within a bucket carries
// no meaning (a copy reverses it), only the bucket they lie in.
inline std::vector<NoteValues> HeadsOf(CSegmentRange list, bool withSelection) {
    std::vector<NoteValues> heads;
    for (const CNote* n : list)
        if (n->IsHead())
            heads.push_back({n->position, n->length, n->keyoff, n->key, n->volume,
                             n->portamentoStart, n->portamentoLength, n->portamentoLevel,
                             withSelection ? n->selected : 0});
    std::sort(heads.begin(), heads.end());
    return heads;
}

inline size_t SegmentsOf(CSegmentRange list) {
    return static_cast<size_t>(std::distance(list.begin(), list.end()));
}

} // namespace compare_detail

// Same notes in the same buckets (and, if asked, the same ones selected).
inline ::testing::AssertionResult SameNotes(const CTrack& a, const CTrack& b,
                                            bool compareSelection = false) {
    using compare_detail::HeadsOf;
    using compare_detail::SegmentsOf;
    if (a.BucketCount() != b.BucketCount())
        return ::testing::AssertionFailure()
               << "bucket counts " << a.BucketCount() << " and " << b.BucketCount();
    for (size_t i = 0; i < a.BucketCount(); ++i) {
        if (SegmentsOf(a.Bucket(i)) != SegmentsOf(b.Bucket(i)))
            return ::testing::AssertionFailure() << "bucket " << i << " differs in size";
        auto ha = HeadsOf(a.Bucket(i), compareSelection);
        auto hb = HeadsOf(b.Bucket(i), compareSelection);
        for (size_t k = 0; k < std::min(ha.size(), hb.size()); ++k)
            if (ha[k] != hb[k])
                return ::testing::AssertionFailure()
                       << "bucket " << i << ": note at " << ha[k][0] << " vs " << hb[k][0];
        if (ha.size() != hb.size())
            return ::testing::AssertionFailure() << "bucket " << i << " differs in notes";
    }
    if (compareSelection && a.Selection().size() != b.Selection().size())
        return ::testing::AssertionFailure() << "selection sizes differ";
    return ::testing::AssertionSuccess();
}

// Everything a project file stores: the project data, the tracks' settings and notes.
inline ::testing::AssertionResult SameSong(const CProject& a, const CProject& b,
                                           bool compareSelection = false) {
    if (!(a.data == b.data))
        return ::testing::AssertionFailure() << "project data differs";
    if (a.tracks.size() != b.tracks.size())
        return ::testing::AssertionFailure()
               << "track counts " << a.tracks.size() << " and " << b.tracks.size();
    for (size_t i = 0; i < a.tracks.size(); ++i) {
        if (!(a.tracks[i].settings == b.tracks[i].settings))
            return ::testing::AssertionFailure() << "settings of track " << i << " differ";
        if (auto r = SameNotes(a.tracks[i], b.tracks[i], compareSelection); !r)
            return r << " (track " << i << ")";
    }
    return ::testing::AssertionSuccess();
}
