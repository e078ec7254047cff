// Live playback: how soon an edit made while the song plays is heard, what an edit costs
// the thread that makes it, and the processor time live playback takes.
//
// Usage: live_bench [SONG.tqp]   (default: <build>/examples/bench.tqp)
//
// The song plays on the capture device through CLivePlayer, as the editor plays it. Every
// 300 ms an edit raises by an octave the notes that start between 250 and 500 ms ahead of
// the play position; as in the editor, the thread that edits copies the song and starts a
// build on a thread of its own that renders from the play position first and hands every
// written second to the player. Afterwards the capture is compared with the edited file.
// Prints, for 50 edits: the time from the edit to the first captured frame of the change
// heard as edited (a note heard on time counts from the edit to its start, so on time
// means about its distance ahead), how long after it was due each change was heard
// (target 0: an edit 250 ms ahead heard within 250 ms) and how many edits were heard
// late, the time until the first rebuilt second reached the player, the longest time the
// editing thread spent on one edit (target: none over 16 ms), and the processor time of
// playing with live builds as a share of two cores. Then the same song plays in the real
// editor window (offscreen) while it is edited every 100 ms, and the longest time its
// event loop was away is printed (LiveUiStall.cpp; target: none over 16 ms).

#include "audio/CAudioFile.h"
#include "audio/CLivePlayer.h"
#include "engine/CBuild.h"
#include "model/CProject.h"
#include "model/WavHeader.h"

#include "BenchTiming.h"
#include "LiveUiStall.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/resource.h>
#include <thread>

namespace {

constexpr int kEdits = 50;
constexpr int kEditEveryMs = 300;

class LiveEvents : public IBuildEvents {
public:
    explicit LiveEvents(CLivePlayer& player) : player(player) {}
    void Progress(const BuildProgress&) override {}
    SampleAnswer SampleFailed(const std::string&) override { return SampleAnswer::Ignore; }
    void OutputFailed(const std::string& path) override {
        std::fprintf(stderr, "live_bench: cannot write %s\n", path.c_str());
    }
    void Done(const BuildOutcome&) override {}
    void SecondWritten(int32_t, uint64_t first, uint64_t end) override {
        player.Invalidate(qint64(first), qint64(end));
        if (!handedOver)
            handedOver = Clock::now();
    }
    // When the first written second of the running build reached the player (read by the
    // editing thread once the build has ended).
    std::optional<Clock::time_point> handedOver;

private:
    CLivePlayer& player;
};

struct EDIT {
    uint64_t playFrame;  // the position when the edit was made
    uint64_t firstFrame; // the first frame of the earliest raised note
    uint64_t endFrame;
};

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The program lives in <build>/bench; the example songs in <build>/examples.
std::string DefaultSong() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "examples" / "bench.tqp").string();
}

QByteArray DataOf(const QString& path, qint64 offset) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().mid(offset);
}

// Raises the notes of unmuted tracks that start in [from, to) seconds; marks them.
bool RaiseNotes(CProject& song, double from, double to, double& firstStart) {
    bool any = false;
    firstStart = to;
    for (CTrack& track : song.tracks) {
        if (track.settings.mute)
            continue;
        std::vector<const CNote*> notes;
        track.ForEachNote([&](const CNote* n) {
            const double at = song.data.tempos.SecondsAt(n->position);
            if (at >= from && at < to && n->key >= 12)
                notes.push_back(n);
        });
        for (const CNote* n : notes) {
            CNote raised = *n;
            raised.key -= 12;
            firstStart = std::min(firstStart, song.data.tempos.SecondsAt(n->position));
            track.UpdateNote(n, raised);
            song.SetModified(raised);
            any = true;
        }
    }
    return any;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString capture = dir.filePath("capture.wav");
    qputenv("TSQ_AUDIO_DEVICE", ("capture:" + capture).toUtf8());
    const std::string songPath = argc > 1 ? argv[1] : DefaultSong();
    CProject song;
    if (Result r = song.Load(songPath); !r) {
        std::fprintf(stderr, "live_bench: %s (build the target \"examples\" first)\n",
                     r.message.c_str());
        return 1;
    }
    song.data.loopEnabled = 0;
    song.data.channels = 2;
    song.data.samplesPerSec = 44100;
    song.data.bitsPerSample = 16;
    const std::string wav = dir.filePath("song.wav").toStdString();
    CAudioFile loader;
    const std::atomic<bool> stop{false};
    {
        CLivePlayer none;
        LiveEvents events(none);
        CProjectModified all;
        CBuild(events, loader, 2, stop).Build(wav, song, all, true);
    }
    const QByteArray before = DataOf(QString::fromStdString(wav), qint64(kWavHeaderSize));

    CLivePlayer player;
    const double head = song.data.startDummy / 1000.0, tail = song.data.endDummy / 1000.0;
    if (Result r = player.Open(QString::fromStdString(wav), head, tail); !r) {
        std::fprintf(stderr, "live_bench: %s\n", r.message.c_str());
        return 1;
    }
    const uint32_t rate = player.GetSampleRate();
    const qint64 lead = qint64(std::llround(head * rate));
    LiveEvents events(player);
    std::atomic<int32_t> origin{0};
    std::vector<EDIT> edits;
    std::vector<double> stalls;
    std::vector<double> handovers;
    std::thread build;
    Clock::time_point lastEdit;
    auto joinBuild = [&] {
        if (!build.joinable())
            return;
        build.join();
        if (events.handedOver)
            handovers.push_back(
                std::chrono::duration<double, std::milli>(*events.handedOver - lastEdit).count());
    };
    const double cpuStart = CpuSeconds();
    const auto wallStart = Clock::now();
    player.Play();
    while (int(edits.size()) < kEdits && player.IsPlaying()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kEditEveryMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(kEditEveryMs));
        const auto editStart = Clock::now();
        const double at = player.GetPosition();
        double firstStart = 0;
        if (!RaiseNotes(song, at + 0.25, at + 0.5, firstStart))
            continue;
        joinBuild();
        lastEdit = editStart;
        events.handedOver.reset();
        origin = int32_t(at);
        auto copy = std::make_shared<CProject>(song);
        auto flags = std::make_shared<CProjectModified>(std::exchange(song.changed, {}));
        build = std::thread([&, copy, flags] {
            CAudioFile samples;
            CBuild live(events, samples, 2, stop);
            live.SetOrigin(&origin);
            live.Build(wav, *copy, *flags, false);
        });
        stalls.push_back(MillisecondsSince(editStart));
        edits.push_back({uint64_t(at * rate), uint64_t(firstStart * rate),
                         uint64_t((firstStart + 0.25) * rate)});
    }
    joinBuild();
    const double cpu = CpuSeconds() - cpuStart;
    const double wall = MillisecondsSince(wallStart) / 1000.0;
    player.Close();

    const QByteArray after = DataOf(QString::fromStdString(wav), qint64(kWavHeaderSize));
    const QByteArray heard = DataOf(capture, qint64(kWavHeaderSizeWithExtra));
    constexpr int frame = 4; // 16-bit stereo
    std::vector<double> latencies;
    std::vector<double> delays; // from when the changed sound was due to when it was heard
    int late = 0;
    for (const EDIT& e : edits) {
        // The first frame the edit changed, and the first one heard as edited from it on.
        double latency = -1;
        std::optional<uint64_t> firstChanged;
        for (uint64_t f = e.firstFrame; f < e.endFrame; ++f) {
            const qint64 at = qint64(f) * frame, fileAt = at + lead * frame;
            if (at + frame > heard.size() || fileAt + frame > after.size())
                break;
            if (after.mid(fileAt, frame) == before.mid(fileAt, frame))
                continue;
            if (!firstChanged)
                firstChanged = f;
            if (heard.mid(at, frame) == after.mid(fileAt, frame)) {
                latency = double(f - e.playFrame) / rate * 1000;
                delays.push_back(double(f - *firstChanged) / rate * 1000);
                late += f != *firstChanged;
                break;
            }
        }
        if (latency >= 0)
            latencies.push_back(latency);
    }
    std::sort(latencies.begin(), latencies.end());
    std::sort(delays.begin(), delays.end());
    std::sort(stalls.begin(), stalls.end());
    std::sort(handovers.begin(), handovers.end());
    if (!handovers.empty())
        std::printf("edit to its first rebuilt second in the player: median %.0f ms, worst %.0f "
                    "ms\n",
                    handovers[handovers.size() / 2], handovers.back());
    std::printf("edits made: %zu, compared: %zu, heard late: %d\n", edits.size(), latencies.size(),
                late);
    // The changed notes start 250 to 500 ms after the edit, so a change heard on time is
    // heard that long after it: the target is that every change is heard when it is due.
    if (!latencies.empty())
        std::printf("edit to first captured frame of the change: median %.0f ms, worst %.0f ms "
                    "(the change lies 250-500 ms ahead)\n",
                    latencies[latencies.size() / 2], latencies.back());
    if (!delays.empty())
        std::printf("change heard after it was due: median %.0f ms, worst %.0f ms (target: 0, "
                    "every edit 250 ms ahead heard within 250 ms)\n",
                    delays[delays.size() / 2], delays.back());
    if (!stalls.empty())
        std::printf("editing thread per edit (copy and start of the build): median %.2f ms, "
                    "worst %.2f ms (target <= 16 ms)\n",
                    stalls[stalls.size() / 2], stalls.back());
    std::printf("processor time of live playback: %.0f %% of two cores over %.1f s\n",
                cpu / wall / 2 * 100, wall);
    std::printf("underruns: %u\n", player.Underruns());
    return RunUiStallBench(songPath);
}
