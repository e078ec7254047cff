// How fast the build renders a song into a WAV file, and how much memory it takes.
//
// Usage: build_bench [SONG.tqp | --late]   (default: the example song "bench" of the same build
// folder, <build>/examples/bench.tqp: three minutes on eight tracks; any song is rendered
// at 44.1 kHz, 16-bit stereo)
//
// Prints, as multiples of real time (song seconds per wall-clock second): a full build on 2
// threads (target >= 100x) and on 1 thread (>= 50x); the time of an incremental build after
// one note changed (<= 0.2 s); the cost of rendering a second late in a 60-second note
// against one near its start (<= 2x); the peak memory of a build against the project, its
// samples and one second of output per thread; the time of the copy of the song the editor
// takes on its user-interface thread when a build starts; and, when fluidsynth and a General
// MIDI sound font are installed, fluidsynth rendering the song's MIDI export in the same
// format.

#include "audio/CAudioFile.h"
#include "engine/CBuild.h"
#include "engine/CSongRenderer.h"
#include "model/CProject.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class QuietObserver : public IBuildEvents {
public:
    void Progress(const BuildProgress&) override {}
    SampleAnswer SampleFailed(const std::string& path) override {
        std::fprintf(stderr, "build_bench: cannot load the sample %s; it stays silent\n",
                     path.c_str());
        return SampleAnswer::Ignore;
    }
    void OutputFailed(const std::string& path) override {
        std::fprintf(stderr, "build_bench: cannot write %s\n", path.c_str());
    }
    void Done(const BuildOutcome&) override {}
};

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double CpuSeconds(int who = RUSAGE_SELF) {
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
    bool ok = false;
};

Timing TimeBuild(CProject& project, const std::string& wav, CProjectModified& map, bool rebuild,
                 int threads) {
    QuietObserver observer;
    CAudioFile loader;
    const std::atomic<bool> stop{false};
    CBuild build(observer, loader, threads, stop);
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    const BuildOutcome outcome = build.Build(wav, project, map, rebuild);
    Timing t{Seconds(Clock::now() - start), CpuSeconds() - cpu, bool(outcome)};
    if (!outcome)
        std::fprintf(stderr, "build_bench: build failed: %s\n", outcome.message.c_str());
    return t;
}

void PrintSpeed(const char* what, double songSeconds, const Timing& t, double target) {
    std::printf("%-34s %7.2f s  %7.1fx real time  (%.1fx per CPU second)  target >= %.0fx\n", what,
                t.wall, songSeconds / t.wall, songSeconds / std::max(t.cpu, 1e-9), target);
}

// Changes the key of one note in the middle of the song the way an edit does: the old
// and the new extent are marked, and the marks merged into the unbuilt set.
void EditOneNote(CProject& project, CProjectModified& unbuilt, int round) {
    for (CTrack& track : project.tracks) {
        CConstNoteArray notes = track.Notes();
        if (notes.empty() || track.settings.mute)
            continue;
        const CNote* note = notes[notes.size() / 2 + size_t(round)];
        project.changed.clear();
        project.SetModified(*note);
        CNote changed = *note;
        changed.key = changed.key > 40 ? changed.key - 1 : changed.key + 1;
        project.SetModified(*track.ReplaceNote(note, changed));
        unbuilt.Merge(project.changed);
        project.PrepareBuild(unbuilt, false);
        return;
    }
}

void BenchIncremental(CProject& project, const std::string& wav) {
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        CProjectModified unbuilt;
        EditOneNote(project, unbuilt, round);
        times.push_back(TimeBuild(project, wav, unbuilt, false, 2).wall);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-34s %7.3f s  (median of 5; fastest %.3f s)  target <= 0.2 s\n",
                "incremental build, one note", times[2], times[0]);
}

// One track of the given kind playing one 62-second note.
CProject LongNote(int waveform, const CProject& source) {
    CProject p;
    p.Reset();
    p.data.channels = 2;
    p.data.samplesPerSec = 44100;
    for (const CTrack& t : source.tracks)
        if (t.settings.waveform == waveform)
            p.tracks[0].settings = t.settings;
    p.tracks[0].settings.waveform = waveform;
    p.tracks[0].settings.mute = 0;
    CNote n;
    n.length = 62 * 960;
    n.key = 50;
    n.portamentoStart = 960;
    n.portamentoLength = 960;
    n.portamentoLevel = 256;
    p.tracks[0].AddNote(n);
    return p;
}

// A build renders every second once, with a renderer that has met none of its notes, so
// each timing starts from a fresh one.
double TimeSecond(const CProject& song, int32_t second, std::vector<double>& out) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        CSongRenderer(song).RenderSecond(second, 44100, out.data());
        times.push_back(Seconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

void BenchLateSecond(const CProject& song) {
    static const char* const kinds[] = {"square", "triangle", "saw",  "sine",
                                        "noise",  "PCM",      "wave", "FM"};
    std::printf("late second of a 60 s note (second 58 vs second 1; target <= 2x):\n");
    CAudioFile loader;
    std::vector<double> out(2 * 44100);
    for (int kind = 0; kind < 8; ++kind) {
        CProject p = LongNote(kind, song);
        if (kind == kPcm)
            p.tracks[0].settings.pcm.LoadSample(loader);
        const double early = TimeSecond(p, 1, out);
        const double late = TimeSecond(p, 58, out);
        std::printf("  %-8s  second 1: %6.2f ms  second 58: %6.2f ms  ratio %.2fx\n", kinds[kind],
                    early * 1e3, late * 1e3, late / early);
    }
}

// Slow vibratos: the phase catch-up of a late second spans few LFO periods but many frames.
void BenchLateVibrato(const CProject& song) {
    std::printf("late second of a 60 s sine note under vibrato (target <= 2x):\n");
    std::vector<double> out(2 * 44100);
    for (const int32_t waveform : {3, 1}) {
        for (const int32_t period : {123, 997, 9999}) {
            CProject p = LongNote(3, song);
            p.tracks[0].settings.pitchLFO = CLFO{waveform, 0, 0, 0, period, 200};
            const double early = TimeSecond(p, 1, out);
            const double late = TimeSecond(p, 58, out);
            std::printf("  %-8s %5d ms  second 1: %6.2f ms  second 58: %6.2f ms  ratio %.2fx\n",
                        waveform == 3 ? "sine" : "triangle", period, early * 1e3, late * 1e3,
                        late / early);
        }
    }
}

long StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::atol(line.c_str() + key.size());
    return -1;
}

size_t ProjectBytes(const CProject& p) {
    size_t bytes = sizeof(CProject);
    for (const CTrack& t : p.tracks) {
        bytes += sizeof(CTrack) + t.BucketCount() * sizeof(CNote*);
        t.ForEachNote([&](const CNote* n) {
            for (const CNote* s = n; s != nullptr; s = s->NextSegment())
                bytes += sizeof(CNote);
        });
        bytes += t.settings.waveMemory.samples.size() * sizeof(int32_t);
    }
    return bytes;
}

size_t SampleBytes(CProject& p) {
    CAudioFile loader;
    size_t bytes = 0;
    for (CTrack& t : p.tracks)
        if (!t.settings.mute && t.settings.waveform == kPcm && t.settings.pcm.LoadSample(loader))
            bytes += t.settings.pcm.sampleData.size();
    return bytes;
}

// Resets the peak of the resident set (Linux: "5" to clear_refs), runs a full build and
// reports how far the peak rose above what was resident before it.
void BenchMemory(CProject& project, const std::string& wav) {
    const int threads = 2;
    const size_t projectBytes = ProjectBytes(project);
    const size_t sampleBytes = SampleBytes(project);
    const size_t perThread = size_t(project.data.samplesPerSec) * size_t(project.data.channels) *
                             (sizeof(double) + size_t(project.data.bitsPerSample / 8));
    const bool reset = bool(std::ofstream("/proc/self/clear_refs") << "5");
    const long before = StatusKb("VmRSS");
    CProjectModified map;
    TimeBuild(project, wav, map, true, threads);
    const long peak = StatusKb("VmHWM");
    std::printf("peak memory of a build (2 threads): %.1f MB above the %.1f MB resident before%s\n",
                (peak - before) / 1024.0, before / 1024.0,
                reset ? "" : " (peak reset unavailable: includes earlier peaks)");
    std::printf("  target: project %.2f MB + samples %.2f MB + %d x one second of output %.2f MB"
                " = %.2f MB\n",
                projectBytes / 1048576.0, sampleBytes / 1048576.0, threads, perThread / 1048576.0,
                (projectBytes + sampleBytes + threads * perThread) / 1048576.0);
}

// The editor's build renders a copy of the song taken on the user-interface thread, which
// waits for the copy; undo snapshots cost the same.
void BenchSnapshot(const CProject& project) {
    std::vector<double> times;
    for (int round = 0; round < 9; ++round) {
        const auto start = Clock::now();
        const auto snapshot = std::make_shared<const CProject>(project);
        times.push_back(Seconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-34s %7.3f ms  (median of 9; fastest %.3f ms; a song of %.2f MB)\n",
                "snapshot copy of the song", times[4] * 1e3, times[0] * 1e3,
                ProjectBytes(project) / 1048576.0);
}

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const fs::path candidate = fs::path(folder) / program;
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec))
            return candidate.string();
    }
    return {};
}

std::string FindSoundFont() {
    for (const char* f :
         {"/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
          "/usr/share/soundfonts/default.sf2", "/usr/share/soundfonts/FluidR3_GM.sf2"})
        if (fs::exists(f))
            return f;
    return {};
}

void BenchFluidsynth(const CProject& project, const fs::path& dir, double songSeconds,
                     double ourSpeed) {
    const std::string fluidsynth = FindOnPath("fluidsynth");
    const std::string font = FindSoundFont();
    if (fluidsynth.empty() || font.empty()) {
        std::printf("fluidsynth comparison skipped: %s not installed\n",
                    fluidsynth.empty() ? "fluidsynth is" : "no General MIDI sound font is");
        return;
    }
    const std::string midi = (dir / "song.mid").string();
    if (Result r = project.ExportMidi(midi); !r) {
        std::printf("fluidsynth comparison skipped: MIDI export failed: %s\n", r.message.c_str());
        return;
    }
    const std::string command = "'" + fluidsynth + "' -ni -q -F '" + (dir / "fluid.wav").string() +
                                "' -r 44100 -O s16 -T wav '" + font + "' '" + midi +
                                "' >/dev/null 2>&1";
    const double cpu = CpuSeconds(RUSAGE_CHILDREN);
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double wall = Seconds(Clock::now() - start);
    const double childCpu = CpuSeconds(RUSAGE_CHILDREN) - cpu;
    if (status != 0) {
        std::printf("fluidsynth comparison skipped: fluidsynth failed (status %d)\n", status);
        return;
    }
    std::printf("%-34s %7.2f s  %7.1fx real time  (%.1fx per CPU second)\n",
                "fluidsynth, the MIDI export", wall, songSeconds / wall,
                songSeconds / std::max(childCpu, 1e-9));
    std::printf("%-34s %7.1fx against fluidsynth's %.1fx real time\n",
                "this build, 2 threads:", ourSpeed, songSeconds / wall);
}

// The program lives in <build>/bench; the example songs in <build>/examples.
std::string DefaultSong() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "examples" / "bench.tqp").string();
}

} // namespace

int main(int argc, char** argv) {
    // --late: only the late-second figures, which need no song.
    if (argc > 1 && std::string(argv[1]) == "--late") {
        CProject none;
        none.Reset();
        BenchLateSecond(none);
        BenchLateVibrato(none);
        return 0;
    }
    const std::string songPath = argc > 1 ? argv[1] : DefaultSong();
    CProject project;
    if (Result r = project.Load(songPath); !r) {
        std::fprintf(stderr,
                     "build_bench: %s\n(build the target \"examples\" first, or name a song)\n",
                     r.message.c_str());
        return 1;
    }
    project.data.channels = 2;
    project.data.samplesPerSec = 44100;
    project.data.bitsPerSample = 16;
    const fs::path dir = fs::temp_directory_path() / "tsq_build_bench";
    fs::create_directories(dir);
    const std::string wav = (dir / "bench.wav").string();
    const double songSeconds = project.GetLength();
    std::printf("song %s: %.1f s, %zu tracks, 44100 Hz 16-bit stereo\n", songPath.c_str(),
                songSeconds, project.tracks.size());

    BenchSnapshot(project);
    BenchMemory(project, wav);
    CProjectModified map;
    const Timing two = TimeBuild(project, wav, map, true, 2);
    PrintSpeed("full build, 2 threads", songSeconds, two, 100);
    const Timing one = TimeBuild(project, wav, map, true, 1);
    PrintSpeed("full build, 1 thread", songSeconds, one, 50);
    BenchIncremental(project, wav);
    BenchLateSecond(project);
    BenchLateVibrato(project);
    BenchFluidsynth(project, dir, songSeconds, songSeconds / two.wall);
    std::error_code ec;
    fs::remove_all(dir, ec);
    return two.ok && one.ok ? 0 : 1;
}
