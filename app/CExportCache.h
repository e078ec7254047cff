#pragma once
// The renderings an export starts from, kept in a folder beside the project: per song
// variant (the whole song, each stem, the loop) a built WAV file and the variant as it was
// built. The next export of the variant compares the two songs and rebuilds only the
// seconds whose notes changed, or everything when more than notes did.

#include "engine/IBuildEvents.h"
#include "model/CProject.h"

#include <atomic>
#include <cstdint>
#include <string>

class ISampleLoader;

class CExportCache {
public:
    CExportCache(std::string folder, IBuildEvents& events, ISampleLoader& loader, int64_t threads,
                 const std::atomic<bool>& stop);

    // The cache folder of a project file: hidden, beside it.
    static std::string FolderFor(const std::string& projectPath);

    // Brings the rendering of `song` under `key` up to date.
    BuildOutcome Build(CProject song, const std::string& key);
    std::string WavPath(const std::string& key) const;

private:
    std::string SnapshotPath(const std::string& key) const;

    std::string folder;
    IBuildEvents& events;
    ISampleLoader& loader;
    int64_t threads;
    const std::atomic<bool>& stop;
};
