#pragma once
// Renders a song into a WAV file, one whole second at a time, on worker threads. Only the
// seconds flagged in a change map are rendered and written at their fixed places; the rest
// of an existing file is left as it is, so a build after a small edit is quick. Lives on
// the caller's stack for one build; Build runs on the caller's thread (the editor gives it a
// thread of its own, the command line its main thread), reports through IBuildEvents on that
// thread and returns when the file is finished.

#include "engine/IBuildEvents.h"
#include "engine/internal/BuildLayout.h"
#include "model/CProjectModified.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class BuildOutputFile;
class CProject;
class CSongRenderer;
class ISampleLoader;

class CBuild {
public:
    static constexpr int kMaxThreads = 32;

    // `threads` is the "BuildThreads" setting; any value is limited to 1..32. `stop` is the
    // abort button: set from any thread (or a signal handler), it ends the build after the
    // seconds being rendered, within 100 ms; set while the samples load, it ends the build
    // once they are loaded.
    CBuild(IBuildEvents& events, ISampleLoader& loader, int64_t threads,
           const std::atomic<bool>& stop);
    ~CBuild();
    CBuild(const CBuild&) = delete;
    CBuild& operator=(const CBuild&) = delete;

    // The processor count limited to 1..32: the default of "BuildThreads".
    static int DefaultThreadCount();
    static int ClampThreadCount(int64_t threads);

    // Builds the project into the WAV file at `path`. Loads the samples of unmuted PCM
    // tracks first (so the project changes: their sample data). With `rebuild`, or when
    // there is no file at `path`, every second is rendered. On return every rendered
    // second's flag in `changeMap` is 0 and every other keeps its value. No flagged second
    // and an existing file: returns at once with no event but Done, the file untouched.
    BuildOutcome Build(const std::string& path, CProject& project, CProjectModified& changeMap,
                       bool rebuild);
    // Seconds are claimed nearest at or after `*origin` first, then from the song's start
    // up to it; the value is read at every claim, so a player may move it while the build
    // runs (the play position of live playback). Null (the default) claims from the start.
    // Set before Build; the atomic must outlive it.
    void SetOrigin(const std::atomic<int32_t>* origin) { this->origin = origin; }

private:
    struct Worker;

    void Reset(CProjectModified& map);
    int32_t PrepareFlags(const std::string& path, bool rebuild);
    Result LoadSamples(CProject& project);
    BuildOutcome Render(const std::string& path, CProject& project);
    bool WriteFrame();
    bool StartWorkers();
    void RunWorker();
    bool ClaimSecond(int32_t& second);
    bool ClaimFrom(int32_t first, int32_t end, int32_t& second);
    bool RenderSecond(int32_t second, Worker& worker, size_t& bytes);
    bool StoreSecond(int32_t second, const Worker& worker, size_t bytes);
    void EndWorker();
    void WatchWorkers();
    void ReportSteps(int64_t steps);
    void ReportWritten();
    bool Finalise();
    BuildOutcome Finish(BuildOutcome outcome);

    IBuildEvents& events;
    ISampleLoader& loader;
    int threadCount;
    const std::atomic<bool>& stop;
    const std::atomic<int32_t>* origin = nullptr;

    struct WRITTEN {
        int32_t second;
        uint64_t firstByte;
        uint64_t endByte;
    };

    // State of the build in progress.
    CProjectModified* changeMap = nullptr;
    BuildLayout layout;
    std::unique_ptr<BuildOutputFile> file;
    std::unique_ptr<CSongRenderer> renderer;
    std::vector<std::thread> workers;
    std::mutex lock; // guards changeMap, file, nextSecond, secondsDone, written, writeError
    std::condition_variable workerEnded;
    int32_t nextSecond = 0;
    int64_t secondsDone = 0;      // written since the progress last looked
    std::vector<WRITTEN> written; // written since the watcher last reported them
    std::chrono::steady_clock::time_point lastReport;
    int32_t progressPosition = 0;
    std::chrono::steady_clock::time_point renderStart;
    int32_t secondsRendered = 0; // written by this build
    int32_t flaggedCount = 0;
    int runningWorkers = 0;
    bool writeError = false;
    std::atomic<bool> cancelled{false}; // `stop` as the workers see it
};
