// How fast the song model saves, loads and converts time.
//
// Usage: model_bench
//
// Prints: the time to save and to load a project of 100 000 notes, in memory and through a
// file (target: each well under 100 ms); the cost of one GetEndTick and GetLength call on
// that project; and TicksToSeconds / SecondsToTicks over a tempo list of 10 000 changes
// against a plain linear walk of the list (the way the conversions are defined), with the
// largest difference between the two and the speed-up.

#include "BenchTiming.h"

#include "model/CProject.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Sixteen tracks of 6250 notes over ten minutes at 120 BPM; every tenth note crosses into the
// next bucket. The tempo list holds 10 000 changes.
CProject LargeSong(std::mt19937& rng) {
    CProject p;
    p.Reset();
    p.tracks.clear();
    std::vector<TEMPO> tempos{{0, 120.0}};
    for (int i = 1; i < 10000; ++i)
        tempos.push_back({i * 115, 60.0 + static_cast<double>(rng() % 2000) / 10.0});
    p.data.tempos.Assign(tempos);
    for (int t = 0; t < 16; ++t) {
        CTrack& track = p.tracks.emplace_back();
        track.settings.name = "トラック" + std::to_string(t + 1);
        for (int i = 0; i < 6250; ++i) {
            CNote n;
            n.position = static_cast<int32_t>(rng() % (1920 * 300));
            n.length = i % 10 == 0 ? 1920 : 30 + static_cast<int32_t>(rng() % 200);
            n.key = static_cast<int32_t>(rng() % 96);
            n.volume = static_cast<int32_t>(rng() % 256);
            track.AddNote(n);
        }
    }
    return p;
}

void SaveAndLoad(const CProject& song) {
    size_t notes = 0;
    for (const CTrack& t : song.tracks)
        notes += t.NoteCount();
    std::vector<uint8_t> bytes;
    const double save = MedianMs(9, [&] { bytes = song.SaveToBytes(); });
    CProject loaded;
    const double load = MedianMs(9, [&] { loaded.LoadFromBytes(bytes); });
    std::printf("Project of %zu notes on %zu tracks, %zu bytes\n", notes, song.tracks.size(),
                bytes.size());
    std::printf("  save to memory    %8.2f ms\n", save);
    std::printf("  load from memory  %8.2f ms\n", load);

    const fs::path path =
        fs::temp_directory_path() / ("tsq-model-bench-" + std::to_string(::getpid()) + ".tqp");
    const double saveFile = MedianMs(5, [&] { song.Save(path.string()); });
    const double loadFile = MedianMs(5, [&] { loaded.Load(path.string()); });
    fs::remove(path);
    std::printf("  save to file      %8.2f ms (written, flushed to disk, renamed)\n", saveFile);
    std::printf("  load from file    %8.2f ms\n", loadFile);
}

void EndOfSong(const CProject& song) {
    constexpr int kCalls = 20000;
    int64_t sink = 0;
    double seconds = 0;
    const double endTick = MedianMs(5, [&] {
        for (int i = 0; i < kCalls; ++i)
            sink += song.GetEndTick();
    });
    const double length = MedianMs(5, [&] {
        for (int i = 0; i < kCalls; ++i)
            seconds += song.GetLength();
    });
    std::printf("GetEndTick          %8.1f ns a call (%lld)\n", endTick * 1e6 / kCalls,
                static_cast<long long>(sink / (5 * kCalls)));
    std::printf("GetLength           %8.1f ns a call (%.3f s)\n", length * 1e6 / kCalls,
                seconds / (5 * kCalls));
}

// The conversions as one pass over the list each.
double LinearTicksToSeconds(const std::vector<TEMPO>& tempos, int32_t from, int32_t to) {
    if (from >= to)
        return 0;
    int64_t cur = from;
    double sum = 0;
    size_t k = 0;
    for (;;) {
        while (k < tempos.size() && tempos[k].position <= cur)
            ++k;
        if (k == tempos.size() || tempos[k].position >= to)
            break;
        sum += (tempos[k].position - cur) * 0.125 / tempos[k - 1].tempo;
        cur = tempos[k].position;
    }
    return sum + (to - cur) * 0.125 / tempos[k - 1].tempo;
}

int32_t LinearSecondsToTicks(const std::vector<TEMPO>& tempos, double s) {
    size_t k = 0;
    double startOfK = 0;
    double start = 0;
    for (size_t i = 0; i < tempos.size(); ++i) {
        if (i > 0)
            start += (tempos[i].position - tempos[i - 1].position) * 0.125 / tempos[i - 1].tempo;
        if (start > s)
            break;
        k = i;
        startOfK = start;
    }
    return tempos[k].position +
           static_cast<int32_t>(std::trunc((s - startOfK) * tempos[k].tempo * 8));
}

void Conversions(const CTempoList& tempos, std::mt19937& rng) {
    const std::vector<TEMPO>& items = tempos.Items();
    const int32_t end = items.back().position + 100000;
    const double endSeconds = tempos.SecondsAt(end);
    constexpr int kQueries = 20000;
    std::vector<std::pair<int32_t, int32_t>> spans;
    std::vector<double> moments;
    for (int i = 0; i < kQueries; ++i) {
        int32_t a = static_cast<int32_t>(rng() % static_cast<uint32_t>(end));
        int32_t b = static_cast<int32_t>(rng() % static_cast<uint32_t>(end));
        spans.emplace_back(std::min(a, b), std::max(a, b));
        moments.push_back(endSeconds * static_cast<double>(rng() % 1000000) / 1e6);
    }

    double maxAbs = 0, maxRel = 0;
    int64_t maxTicks = 0;
    for (int i = 0; i < kQueries; ++i) {
        const double fast = tempos.TicksToSeconds(spans[i].first, spans[i].second);
        const double slow = LinearTicksToSeconds(items, spans[i].first, spans[i].second);
        maxAbs = std::max(maxAbs, std::abs(fast - slow));
        if (slow > 0)
            maxRel = std::max(maxRel, std::abs(fast - slow) / slow);
        const int64_t dt =
            int64_t{tempos.SecondsToTicks(moments[i])} - LinearSecondsToTicks(items, moments[i]);
        maxTicks = std::max(maxTicks, dt < 0 ? -dt : dt);
    }

    double sink = 0;
    const double fastT2S = MedianMs(5, [&] {
        for (auto [a, b] : spans)
            sink += tempos.TicksToSeconds(a, b);
    });
    const double slowT2S = MedianMs(3, [&] {
        for (auto [a, b] : spans)
            sink += LinearTicksToSeconds(items, a, b);
    });
    const double fastS2T = MedianMs(5, [&] {
        for (double s : moments)
            sink += tempos.SecondsToTicks(s);
    });
    const double slowS2T = MedianMs(3, [&] {
        for (double s : moments)
            sink += LinearSecondsToTicks(items, s);
    });
    std::printf("Tempo list of %zu changes, %d random queries (checksum %.0f)\n", items.size(),
                kQueries, std::fmod(sink, 1000.0));
    std::printf("  TicksToSeconds    %8.1f ns a call, linear %9.1f ns: %7.0fx faster\n",
                fastT2S * 1e6 / kQueries, slowT2S * 1e6 / kQueries, slowT2S / fastT2S);
    std::printf("                    largest difference %.3g s (relative %.3g)\n", maxAbs, maxRel);
    std::printf("  SecondsToTicks    %8.1f ns a call, linear %9.1f ns: %7.0fx faster\n",
                fastS2T * 1e6 / kQueries, slowS2T * 1e6 / kQueries, slowS2T / fastS2T);
    std::printf("                    largest difference %lld ticks\n",
                static_cast<long long>(maxTicks));
}

} // namespace

int main() {
    std::mt19937 rng(2024);
    const CProject song = LargeSong(rng);
    SaveAndLoad(song);
    EndOfSong(song);
    Conversions(song.data.tempos, rng);
    return 0;
}
