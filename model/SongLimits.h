#pragma once
// What one song may hold. The project loader refuses a file beyond these limits, so every
// writer — the JSON converter, MIDI import, the editor's commands, saving — keeps its song
// inside them: a song is never stored in a form the program cannot open again.

#include "model/CTrack.h"
#include "model/Result.h"

#include <algorithm>
#include <cstdint>

class CProject;

namespace songlimits {

// Far beyond any song the editor can show, and small enough to bound what a damaged track
// count can make a load allocate.
inline constexpr uint32_t kMaxTracks = 4096;

// Note segments and bucket slots of all tracks together (CTrack::StorageCost). Far more
// than any real song needs; every undo snapshot copies the song, so this also bounds what
// a damaged file can make the editor hold.
inline constexpr uint64_t kSegmentBudget = uint64_t{1} << 20;

enum class Breach { kNone, kTracks, kSegments };

// The first limit the song breaks, if any.
Breach Find(const CProject& project);
// The same as a result whose message names the limit (for the command line and loaders).
Result Check(const CProject& project);

// The segments of a note: one for each 1920-tick bucket it touches. `position` >= 0 and
// `length` >= 1, ending at the latest on the last tick (as a stored note is).
inline uint64_t SegmentCount(int32_t position, int32_t length) {
    return static_cast<uint64_t>(CTrack::BucketOf(position + length - 1) -
                                 CTrack::BucketOf(position) + 1);
}

// What notes added to an empty track will make it hold: their segments and the bucket
// slots up to the last one touched. Lets a reader refuse notes before it allocates them.
template <class Notes> uint64_t StorageCost(const Notes& notes) {
    uint64_t segments = 0;
    int32_t lastBucket = -1;
    for (const auto& n : notes) {
        segments += SegmentCount(n.position, n.length);
        lastBucket = std::max(lastBucket, CTrack::BucketOf(n.position + n.length - 1));
    }
    return segments + static_cast<uint64_t>(int64_t{lastBucket} + 1);
}

} // namespace songlimits
