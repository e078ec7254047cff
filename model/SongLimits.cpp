#include "model/SongLimits.h"

#include "model/CProject.h"

#include <string>

namespace songlimits {

Breach Find(const CProject& project) {
    if (project.tracks.size() > kMaxTracks)
        return Breach::kTracks;
    uint64_t cost = 0;
    for (const CTrack& track : project.tracks) {
        cost += track.StorageCost();
        if (cost > kSegmentBudget)
            return Breach::kSegments;
    }
    return Breach::kNone;
}

Result Check(const CProject& project) {
    switch (Find(project)) {
    case Breach::kTracks:
        return Result::Fail("too many tracks (" + std::to_string(project.tracks.size()) +
                            ", at most " + std::to_string(kMaxTracks) + ")");
    case Breach::kSegments:
        return Result::Fail("the notes exceed the size a song can have");
    case Breach::kNone:
        break;
    }
    return Result::Ok();
}

} // namespace songlimits
