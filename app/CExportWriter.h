#pragma once
// Cuts one exported file from a cached build: the whole rendering as it is, or the loop —
// the lead-in once, then the loop passes, each with the tail that rings on past the loop's
// end mixed into its start (so the last frame runs into the first without a click), then
// the fade-out. Works through a fixed block of frames whatever the song's length.

#include "app/CExporter.h"
#include "audio/CSoundFileReader.h"
#include "audio/CSoundFileWriter.h"

#include <atomic>
#include <vector>

class CExportWriter {
public:
    CExportWriter(const CProject& song, const EXPORT_REQUEST& request,
                  const std::atomic<bool>& stop);

    Result Write(const std::string& cacheWav, const std::string& target);

private:
    static constexpr int64_t kBlock = 4096;

    SOUND_FILE_SPEC Spec() const;
    Result Copy(int64_t from, int64_t count);
    Result WriteLoop();
    Result WriteRange();
    // Frames k .. k + count - 1 of one loop pass (count within the pass) into `mix`.
    Result ReadPass(int64_t k, int64_t count);
    Result Fade();
    Result Stopped() const;

    const CProject& song;
    const EXPORT_REQUEST& request;
    const std::atomic<bool>& stop;
    CSoundFileReader reader;
    CSoundFileWriter writer;
    int64_t leading = 0;   // frames of silence before the song in the cached build
    int64_t loopStart = 0; // song frames
    int64_t loopLength = 0;
    std::vector<double> block;
    std::vector<double> mix;
};
