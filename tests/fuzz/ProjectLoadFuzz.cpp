// Fuzz entry point of the project loader and the incremental-build reader. Any bytes must
// be refused or loaded without a crash, a hang, undefined behaviour or unbounded
// allocation; a song that loads must be usable (its measures and seconds computable) and
// must come back from a save byte for byte.

#include "model/CArchiveReader.h"
#include "model/CProject.h"
#include "model/CProjectModified.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace {

void ExerciseLoadedSong(CProject& project) {
    project.SetAllModified();
    CProjectModified map;
    project.PrepareBuild(map, false);
    const std::vector<uint8_t> saved = project.SaveToBytes();
    CProject again;
    if (!again.LoadFromBytes(saved) || again.SaveToBytes() != saved)
        std::abort();
    if (project.InsertMeasures(1, 1))
        project.DeleteMeasures(1, 1);
    if (!project.tracks.empty())
        project.tracks[0].InsertTime(0, 1920);
    project.data.tempos.SecondsToTicks(project.GetLength());
}

// Songs spanning millions of buckets load correctly but slowly; exercising them further
// would only slow the search down.
bool IsSmall(const CProject& project) {
    size_t buckets = 0;
    for (const CTrack& t : project.tracks)
        buckets += t.BucketCount();
    return buckets < 100000;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    CProject project;
    if (project.LoadFromBytes(bytes) && IsSmall(project))
        ExerciseLoadedSong(project);

    CProjectModified map;
    try {
        CArchiveReader ar(bytes);
        map.Serialize(ar);
    } catch (const ArchiveError&) {
    }
    return 0;
}
