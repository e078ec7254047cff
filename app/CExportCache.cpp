#include "app/CExportCache.h"

#include "app/ExportChanges.h"
#include "engine/CBuild.h"

#include <filesystem>

namespace fs = std::filesystem;

CExportCache::CExportCache(std::string folder, IBuildEvents& events, ISampleLoader& loader,
                           int64_t threads, const std::atomic<bool>& stop)
    : folder(std::move(folder)), events(events), loader(loader), threads(threads), stop(stop) {
}

std::string CExportCache::FolderFor(const std::string& projectPath) {
    const fs::path p(projectPath);
    return (p.parent_path() / ("." + p.stem().string() + ".export-cache")).string();
}

std::string CExportCache::WavPath(const std::string& key) const {
    return (fs::path(folder) / (key + ".wav")).string();
}

std::string CExportCache::SnapshotPath(const std::string& key) const {
    return (fs::path(folder) / (key + ".tqp")).string();
}

BuildOutcome CExportCache::Build(CProject song, const std::string& key) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return {BuildStatus::Failed, folder + ": cannot create the folder: " + ec.message(), 0};
    CProjectModified map;
    bool full = true;
    CProject before;
    if (before.Load(SnapshotPath(key))) {
        if (std::optional<CProjectModified> changed = ChangedSeconds(before, song)) {
            map = std::move(*changed);
            full = false;
        }
        song.lastBuildLength = before.GetLength();
        song.lastBuildFadeOut = before.data.fadeOut;
    }
    // An unfinished build leaves no snapshot, so the next one renders everything.
    fs::remove(SnapshotPath(key), ec);
    song.PrepareBuild(map, full);
    CBuild build(events, loader, threads, stop);
    BuildOutcome outcome = build.Build(WavPath(key), song, map, full);
    if (outcome) {
        if (Result r = song.Save(SnapshotPath(key)); !r)
            return {BuildStatus::Failed, r.message, outcome.secondsRendered};
    }
    return outcome;
}
