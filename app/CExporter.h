#pragma once
// Exports a song as sound files: the whole song, each unmuted track on its own (stems), or
// the endless loop as a seamless loop file; as WAV, FLAC, Ogg Vorbis, Opus or MP3 (through
// the encoder modules, CMp3Export). Every file is cut from a cached build (CExportCache) and
// written under a temporary name that becomes the target only when the file is whole. Plain C++ for
// the command line and the editor's worker thread alike; stopping is the flag handed in, as for a
// build.

#include "audio/SoundFileFormat.h"
#include "engine/IBuildEvents.h"
#include "model/CProject.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class CEncode;
class ISampleLoader;

struct EXPORT_REQUEST {
    SoundFileKind kind = SoundFileKind::Wav;
    double quality = 0.7;
    int bitRate = 0; // MP3, in kilobits per second; 0 keeps the encoder's stored one
    bool stems = false;
    // 0 exports the song; N > 0 the loop: the lead-in once, the loop N times, then
    // `fadeMs` of the loop fading out.
    int loopPasses = 0;
    int fadeMs = 0;
    // With loopPasses 0: the song from tick rangeStart to rangeEnd only (no silence around
    // it; what still sounds at the start is kept); unused while rangeEnd <= rangeStart.
    int32_t rangeStart = 0;
    int32_t rangeEnd = 0;
    std::string folder;   // where the files go
    std::string fileName; // the file of a single export; empty: named after the project
    int64_t threads = 1;
};

// The time the selected notes of all tracks cover, as a range; empty when none is selected.
void SelectRange(const CProject& song, EXPORT_REQUEST& request);

struct EXPORT_OUTCOME {
    BuildStatus status = BuildStatus::Complete;
    std::string message;
    std::vector<std::string> files; // written, in order
    explicit operator bool() const { return status == BuildStatus::Complete; }
};

class CExporter {
public:
    CExporter(IBuildEvents& events, ISampleLoader& loader, const std::atomic<bool>& stop);

    // The encoder an MP3 export goes through; without one an MP3 export fails.
    void UseEncoder(CEncode* encode) { encoder = encode; }

    EXPORT_OUTCOME Export(const CProject& song, const std::string& projectPath,
                          const EXPORT_REQUEST& request);

private:
    struct JOB {
        CProject song;
        std::string key;
        std::string target;
    };

    std::vector<JOB> Jobs(const CProject& song, const std::string& projectPath,
                          const EXPORT_REQUEST& request) const;
    std::string Target(const std::string& projectPath, const EXPORT_REQUEST& request,
                       const std::string& suffix) const;
    EXPORT_OUTCOME Run(JOB& job, const std::string& cacheWav, const EXPORT_REQUEST& request);
    Result WriteMp3(const JOB& job, const std::string& cacheWav, const EXPORT_REQUEST& request);

    IBuildEvents& events;
    ISampleLoader& loader;
    const std::atomic<bool>& stop;
    CEncode* encoder = nullptr;
};
