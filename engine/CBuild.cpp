#include "engine/CBuild.h"

#include "engine/CSongRenderer.h"
#include "engine/internal/BuildConvert.h"
#include "engine/internal/BuildOutputFile.h"
#include "model/CProject.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <filesystem>
#include <system_error>

namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// Converts each rendered piece of a second straight into its place among the second's
// bytes, so no worker holds the values of a whole second.
class ConvertingSink final : public IRenderSink {
public:
    ConvertingSink(uint8_t* bytes, uint64_t blockSize, int channels, int bits)
        : bytes(bytes), blockSize(blockSize), channels(channels), bits(bits) {}
    void Consume(int32_t first, int32_t count, const double* values) override {
        const size_t offset = size_t(first) * blockSize;
        const size_t written =
            ConvertSamples(values, size_t(count) * size_t(channels), bits, bytes + offset);
        if (written > 0)
            end = offset + written;
    }
    size_t end = 0; // bytes converted, through the last piece

private:
    uint8_t* bytes;
    uint64_t blockSize;
    int channels;
    int bits;
};

} // namespace

// One worker's buffer: the bytes of one second.
struct CBuild::Worker {
    std::vector<uint8_t> bytes;
};

CBuild::CBuild(IBuildEvents& events, ISampleLoader& loader, int64_t threads,
               const std::atomic<bool>& stop)
    : events(events), loader(loader), threadCount(ClampThreadCount(threads)), stop(stop) {
}

CBuild::~CBuild() {
    for (std::thread& t : workers)
        if (t.joinable())
            t.join();
}

int CBuild::ClampThreadCount(int64_t threads) {
    return int(std::clamp<int64_t>(threads, 1, kMaxThreads));
}

int CBuild::DefaultThreadCount() {
    return ClampThreadCount(std::thread::hardware_concurrency());
}

void CBuild::Reset(CProjectModified& map) {
    changeMap = &map;
    cancelled = false;
    secondsDone = 0;
    secondsRendered = 0;
    progressPosition = 0;
    nextSecond = 0;
    written.clear();
    runningWorkers = 0;
    writeError = false;
}

BuildOutcome CBuild::Build(const std::string& path, CProject& project, CProjectModified& map,
                           bool rebuild) {
    Reset(map);
    if (Result r = MakeBuildLayout(project, layout); !r)
        return Finish({BuildStatus::Failed, path + ": " + r.message, 0});
    const bool exists = FileExists(path);
    flaggedCount = PrepareFlags(path, rebuild || !exists);
    // A missing file is written even for a song without seconds, so a build always leaves
    // a playable file behind.
    if (flaggedCount == 0 && exists)
        return Finish({});
    events.Progress({BuildPhase::LoadingSamples, 0, flaggedCount, -1});
    if (Result r = LoadSamples(project); !r)
        return Finish({BuildStatus::Failed, r.message, 0});
    if (stop)
        return Finish({BuildStatus::Cancelled, "cancelled", 0});
    return Finish(Render(path, project));
}

// Flags the seconds to render and returns their count. Seconds that an existing file does
// not hold from an earlier build of the same format (a shorter song, a build cut short, a
// file of another kind) are rendered too: their bytes are not this song's audio.
int32_t CBuild::PrepareFlags(const std::string& path, bool rebuild) {
    CProjectModified& map = *changeMap;
    const int32_t count = layout.secondCount;
    uint64_t reusable = 0;
    if (!rebuild) {
        std::vector<uint8_t> head;
        uint64_t size = 0;
        if (ReadHead(path, BuildLayout::kHeaderSize, head, size))
            reusable = ReusableSongBytes(head, size, layout);
    }
    const uint64_t end = layout.SongOffset() + reusable;
    for (int32_t i = count - 1; i >= 0; --i) {
        const uint64_t secondEnd =
            layout.SecondOffset(i) + uint64_t(layout.FramesOfSecond(i)) * layout.BlockSize();
        if (!rebuild && secondEnd <= end)
            break;
        map.Mark(i, i);
    }
    return int32_t(map.CountSet(size_t(count)));
}

Result CBuild::LoadSamples(CProject& project) {
    for (CTrack& track : project.tracks) {
        CTrackData& s = track.settings;
        if (s.mute || s.waveform != kPcm)
            continue;
        while (!s.pcm.LoadSample(loader)) {
            const std::string samplePath = s.pcm.GetPath();
            const auto answer = events.SampleFailed(samplePath);
            if (answer == IBuildEvents::SampleAnswer::Abort)
                return Result::Fail("cannot load the PCM sample " + samplePath +
                                    " (the file is missing or its format is not supported)");
            if (answer == IBuildEvents::SampleAnswer::Ignore)
                break;
        }
    }
    return Result::Ok();
}

BuildOutcome CBuild::Render(const std::string& path, CProject& project) {
    try {
        renderer = std::make_unique<CSongRenderer>(project);
        file = std::make_unique<BuildOutputFile>();
    } catch (const std::exception& e) {
        return {BuildStatus::Failed, std::string("cannot prepare the build: ") + e.what(), 0};
    }
    if (Result r = file->Open(path); !r) {
        events.OutputFailed(path);
        return {BuildStatus::Failed, r.message, 0};
    }
    events.Progress({BuildPhase::Rendering, 0, flaggedCount, -1});
    const bool framed = WriteFrame();
    const bool started = framed && StartWorkers();
    if (started)
        WatchWorkers();
    const bool finalised = Finalise();
    if (!framed || writeError || !finalised) {
        events.OutputFailed(path);
        const std::string why = file->Error().empty() ? "cannot write " + path : file->Error();
        return {BuildStatus::Failed, why, 0};
    }
    if (!started)
        return {BuildStatus::Failed, "cannot start the build's worker threads", 0};
    if (cancelled)
        return {BuildStatus::Cancelled, "cancelled", 0};
    if (changeMap->CountSet(size_t(layout.secondCount)) != 0)
        return {BuildStatus::Failed, "could not render every second (out of memory)", 0};
    return {};
}

// The header with both sizes 0 (a file cut short stays recognisably unfinished) and the
// leading and trailing silence. The song region is written only for flagged seconds.
bool CBuild::WriteFrame() {
    BuildLayout unfinished = layout;
    unfinished.dataSize = 0;
    auto header = MakeWaveHeader(unfinished);
    std::fill(header.begin() + 4, header.begin() + 8, 0);
    const uint64_t block = layout.BlockSize();
    return file->WriteAt(0, header) &&
           file->FillAt(BuildLayout::kHeaderSize, layout.SilenceByte(),
                        uint64_t(layout.leadFrames) * block, layout.BytesPerSecond()) &&
           file->FillAt(layout.TailOffset(), layout.SilenceByte(),
                        uint64_t(layout.tailFrames) * block, layout.BytesPerSecond());
}

bool CBuild::StartWorkers() {
    renderStart = std::chrono::steady_clock::now();
    lastReport = renderStart;
    for (int n = 0; n < threadCount; ++n) {
        {
            std::lock_guard guard(lock);
            ++runningWorkers;
        }
        try {
            workers.emplace_back([this] { RunWorker(); });
        } catch (const std::system_error&) {
            std::lock_guard guard(lock);
            --runningWorkers;
            break;
        }
    }
    return !workers.empty();
}

void CBuild::RunWorker() {
    Worker worker;
    try {
        worker.bytes.assign(size_t(layout.BytesPerSecond()), 0);
    } catch (const std::bad_alloc&) {
        // This worker contributes nothing; the others render every flagged second.
        EndWorker();
        return;
    }
    int32_t second = 0;
    while (ClaimSecond(second)) {
        size_t bytes = 0;
        if (!RenderSecond(second, worker, bytes) || !StoreSecond(second, worker, bytes))
            break;
    }
    EndWorker();
}

// Without an origin seconds are claimed in ascending order, each exactly once, so the song
// fills from its start. With one, the flagged second nearest at or after it goes first and
// the seconds before it follow, so live playback hears an edit ahead of it soonest. A
// worker stops claiming once the build is cancelled or the file failed.
bool CBuild::ClaimSecond(int32_t& second) {
    std::lock_guard guard(lock);
    if (cancelled || writeError)
        return false;
    const int32_t limit = std::min<int32_t>(layout.secondCount, int32_t(changeMap->size()));
    if (origin == nullptr) {
        const bool found = ClaimFrom(nextSecond, limit, second);
        nextSecond = found ? second + 1 : limit;
        return found;
    }
    const int32_t first = std::clamp<int32_t>(origin->load(std::memory_order_relaxed), 0, limit);
    return ClaimFrom(first, limit, second) || ClaimFrom(0, first, second);
}

bool CBuild::ClaimFrom(int32_t first, int32_t end, int32_t& second) {
    CProjectModified& map = *changeMap;
    for (int32_t i = first; i < end; ++i) {
        if (map[size_t(i)] != 0) {
            map[size_t(i)] = 0;
            second = i;
            return true;
        }
    }
    return false;
}

bool CBuild::RenderSecond(int32_t second, Worker& worker, size_t& bytes) {
    const int32_t frames = layout.FramesOfSecond(second);
    ConvertingSink sink(worker.bytes.data(), layout.BlockSize(), layout.format.channels,
                        layout.format.bitsPerSample);
    try {
        renderer->RenderSecond(second, frames, sink);
    } catch (const std::exception&) {
        std::lock_guard guard(lock);
        (*changeMap)[size_t(second)] = 1;
        return false;
    }
    bytes = sink.end;
    return true;
}

bool CBuild::StoreSecond(int32_t second, const Worker& worker, size_t bytes) {
    std::lock_guard guard(lock);
    // Flushed at once: a player of the file reads the second again when it is announced.
    if (!file->WriteAt(layout.SecondOffset(second), std::span(worker.bytes.data(), bytes)) ||
        !file->Flush()) {
        (*changeMap)[size_t(second)] = 1;
        writeError = true;
        return false;
    }
    ++secondsDone;
    ++secondsRendered;
    const uint64_t offset = layout.SecondOffset(second);
    written.push_back({second, offset, offset + bytes});
    workerEnded.notify_all();
    return true;
}

void CBuild::EndWorker() {
    std::lock_guard guard(lock);
    --runningWorkers;
    workerEnded.notify_all();
}

// The calling thread watches the workers while they run: it passes on the stop flag,
// reports each written second as soon as it is written and the progress at least every
// 100 ms.
void CBuild::WatchWorkers() {
    using namespace std::chrono;
    std::unique_lock guard(lock);
    bool running = true;
    while (running) {
        if (stop)
            cancelled = true;
        workerEnded.wait_for(guard, milliseconds(100),
                             [this] { return runningWorkers == 0 || !written.empty(); });
        running = runningWorkers != 0;
        guard.unlock();
        ReportWritten();
        guard.lock();
        const auto now = steady_clock::now();
        if (running && now - lastReport < milliseconds(100))
            continue;
        lastReport = now;
        const int64_t steps = std::exchange(secondsDone, 0);
        guard.unlock();
        ReportSteps(steps);
        guard.lock();
    }
    guard.unlock();
    for (std::thread& t : workers)
        t.join();
    workers.clear();
}

// Hands the written seconds on outside the lock, so a listener that reads the file again
// never holds up the workers.
void CBuild::ReportWritten() {
    std::vector<WRITTEN> seconds;
    {
        std::lock_guard guard(lock);
        if (written.empty())
            return;
        seconds.swap(written);
    }
    for (const WRITTEN& w : seconds)
        events.SecondWritten(w.second, w.firstByte, w.endByte);
}

void CBuild::ReportSteps(int64_t steps) {
    if (steps <= 0)
        return;
    progressPosition = int32_t(std::min<int64_t>(progressPosition + steps, flaggedCount));
    using namespace std::chrono;
    const int64_t elapsed = duration_cast<milliseconds>(steady_clock::now() - renderStart).count();
    // 64-bit: elapsed milliseconds times a count of seconds cannot overflow in practice.
    const int64_t remaining = elapsed * flaggedCount / progressPosition - elapsed;
    const int64_t seconds = std::max<int64_t>(remaining, 0) / 1000 + (remaining % 1000 > 0);
    events.Progress({BuildPhase::Rendering, progressPosition, flaggedCount, seconds});
}

// Fixes the sizes, the pad byte and the loop chunk, also after an abort, so the file is
// always a valid WAV file.
bool CBuild::Finalise() {
    const uint64_t dataEnd = BuildLayout::kHeaderSize + layout.dataSize;
    const uint8_t pad[1] = {0};
    bool ok = file->SetLength(dataEnd);
    if (ok && layout.PadSize() != 0)
        ok = file->WriteAt(dataEnd, pad);
    if (ok && layout.hasLoop)
        ok = file->WriteAt(dataEnd + layout.PadSize(), MakeSamplerChunk(layout));
    if (ok)
        ok = file->WriteAt(0, MakeWaveHeader(layout));
    const bool closed = bool(file->Close());
    return ok && closed;
}

BuildOutcome CBuild::Finish(BuildOutcome outcome) {
    renderer.reset();
    file.reset();
    outcome.secondsRendered = secondsRendered;
    events.Done(outcome);
    return outcome;
}
