#include "app/CExporter.h"

#include "app/CExportCache.h"
#include "app/CExportWriter.h"
#include "app/CMp3Export.h"
#include "app/ExportVariants.h"

#include <algorithm>
#include <climits>
#include <filesystem>

namespace fs = std::filesystem;

void SelectRange(const CProject& song, EXPORT_REQUEST& request) {
    request.rangeStart = INT32_MAX;
    request.rangeEnd = 0;
    for (const CTrack& track : song.tracks)
        for (const CNote* note : track.Selection()) {
            request.rangeStart = std::min(request.rangeStart, note->position);
            request.rangeEnd = std::max(request.rangeEnd, note->End());
        }
    if (request.rangeEnd <= request.rangeStart)
        request.rangeStart = request.rangeEnd = 0;
}

CExporter::CExporter(IBuildEvents& events, ISampleLoader& loader, const std::atomic<bool>& stop)
    : events(events), loader(loader), stop(stop) {
}

std::string CExporter::Target(const std::string& projectPath, const EXPORT_REQUEST& request,
                              const std::string& suffix) const {
    if (!request.fileName.empty() && !request.stems)
        return (fs::path(request.folder) / request.fileName).string();
    const std::string base = fs::path(projectPath).stem().string() + suffix;
    const fs::path target = fs::path(request.folder) / (base + SoundFileExtension(request.kind));
    // The build's own WAV file is rewritten in place by the next build, which expects the
    // layout it wrote: an export never takes its name unless asked to.
    std::error_code ec;
    if (fs::weakly_canonical(fs::absolute(target), ec) ==
        fs::weakly_canonical(fs::absolute(fs::path(projectPath).replace_extension(".wav")), ec))
        return (fs::path(request.folder) / (base + " (export).wav")).string();
    return target.string();
}

std::vector<CExporter::JOB> CExporter::Jobs(const CProject& song, const std::string& projectPath,
                                            const EXPORT_REQUEST& request) const {
    CProject base = request.loopPasses > 0 ? LoopOf(song) : song;
    if (request.kind == SoundFileKind::Opus)
        base.data.samplesPerSec = OpusRateFor(base.data.samplesPerSec);
    const std::string loopKey = request.loopPasses > 0 ? "-loop" : "";
    const std::string rateKey = "-" + std::to_string(base.data.samplesPerSec);
    const std::string loopSuffix = request.loopPasses > 0                  ? " (loop)"
                                   : request.rangeEnd > request.rangeStart ? " (range)"
                                                                           : "";
    std::vector<JOB> jobs;
    if (!request.stems) {
        jobs.push_back(
            {base, "song" + loopKey + rateKey, Target(projectPath, request, loopSuffix)});
        return jobs;
    }
    for (size_t t = 0; t < base.tracks.size(); ++t) {
        if (base.tracks[t].settings.mute != 0)
            continue;
        const std::string name = FileNamePart(base.tracks[t].settings.name, t);
        jobs.push_back({StemOf(base, t), "track" + std::to_string(t + 1) + loopKey + rateKey,
                        Target(projectPath, request, " - " + name + loopSuffix)});
    }
    return jobs;
}

EXPORT_OUTCOME CExporter::Export(const CProject& song, const std::string& projectPath,
                                 const EXPORT_REQUEST& request) {
    if (request.loopPasses > 0 &&
        (song.data.loopEnabled == 0 || song.data.loopEnd <= song.data.loopStart))
        return {BuildStatus::Failed, "the song has no endless loop", {}};
    std::vector<JOB> jobs = Jobs(song, projectPath, request);
    if (jobs.empty())
        return {BuildStatus::Failed, "every track is muted", {}};
    if (request.kind == SoundFileKind::Mp3 && encoder == nullptr)
        return {BuildStatus::Failed, "no MP3 encoder module is installed", {}};
    CExportCache cache(CExportCache::FolderFor(projectPath), events, loader, request.threads, stop);
    EXPORT_OUTCOME outcome;
    for (JOB& job : jobs) {
        const BuildOutcome built = cache.Build(job.song, job.key);
        if (!built)
            return {built.status, built.message, outcome.files};
        EXPORT_OUTCOME written = Run(job, cache.WavPath(job.key), request);
        if (!written)
            return {written.status, written.message, outcome.files};
        outcome.files.push_back(job.target);
    }
    return outcome;
}

EXPORT_OUTCOME CExporter::Run(JOB& job, const std::string& cacheWav,
                              const EXPORT_REQUEST& request) {
    const Result r = request.kind == SoundFileKind::Mp3
                         ? WriteMp3(job, cacheWav, request)
                         : CExportWriter(job.song, request, stop).Write(cacheWav, job.target);
    if (r)
        return {};
    return {stop ? BuildStatus::Cancelled : BuildStatus::Failed, r.message, {}};
}

Result CExporter::WriteMp3(const JOB& job, const std::string& cacheWav,
                           const EXPORT_REQUEST& request) {
    CMp3Export mp3(*encoder, request.bitRate, stop);
    if (Result r = mp3.Reserve(job.target); !r)
        return r;
    if (Result r = CExportWriter(job.song, request, stop).Write(cacheWav, mp3.WavPath()); !r)
        return r;
    return mp3.Finish();
}
