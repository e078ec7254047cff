// How the renderer copes with songs at the edges of what it accepts.
//
// Usage: engine_limits_bench
//
// Prints the time a build takes to derive its plan for one note of 2^20 segments, the most
// a loaded song may hold (target: well under 1 s), and the time to render the last second
// of a note of 15 000 seconds whose sound settings lie outside every range a dialog offers,
// as a damaged project carries them (target: well under 1 s, about what the same second
// costs with the deepest settings the dialogs offer).

#include "engine/CSongRenderer.h"
#include "model/CProject.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

constexpr int32_t kRate = 44100;
// At the default tempo of 120 beats per minute one second is 960 ticks.
constexpr int32_t kSecondTicks = 960;
constexpr int32_t kSongSeconds = 15000;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

template <class F> double Median(F&& f) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(Seconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return times[2];
}

CProject OneTrack(int32_t waveform) {
    CProject p;
    p.Reset();
    p.data.channels = 2;
    p.data.samplesPerSec = kRate;
    p.tracks[0].settings.waveform = waveform;
    return p;
}

void BenchLongNotePlan() {
    constexpr int32_t kBuckets = int32_t{1} << 20;
    CProject p = OneTrack(kSine);
    CNote n;
    n.length = kBuckets * CTrack::kBucketTicks;
    n.key = 50;
    p.tracks[0].AddNote(n);
    const double plan = Median([&] { CSongRenderer renderer(p); });
    std::printf("plan of one note of %d segments: %8.3f s  target well under 1 s\n", kBuckets,
                plan);
}

// The note of a damaged project: every LFO of the track and of its FM operators set to
// `lfo`, an envelope with a decay of weeks and a negative release, a volume and a key far
// beyond their ranges.
CProject DamagedLongNote(int32_t waveform, const CLFO& lfo) {
    CProject p = OneTrack(waveform);
    CTrackData& s = p.tracks[0].settings;
    s.pitchLFO = lfo;
    s.ampLFO = lfo;
    for (CFMOperator& op : s.fm.operators) {
        op.pitchLFO = lfo;
        op.ampLFO = lfo;
    }
    s.envelope.decay = 1953459714;
    s.envelope.release = -2044193280;
    CNote n;
    n.length = kSongSeconds * kSecondTicks;
    n.key = 255;
    n.volume = 65535;
    p.tracks[0].AddNote(n);
    return p;
}

void BenchDamagedNote() {
    struct Case {
        const char* name;
        int32_t waveform;
        CLFO lfo; // waveform, invert, delay, fade, period, depth
    };
    constexpr int32_t kHuge = 2147483647;
    const Case cases[] = {
        {"square, LFOs as found",
         kSquare,
         {150, 3, -16777216, -1768554496, -1768515946, -2036951402}},
        {"sine, found LFO times on a sine",
         kSine,
         {3, 3, -16777216, -1768554496, -1768515946, -2036951402}},
        {"sine, found sizes made positive",
         kSine,
         {3, 3, -16777216, 1768554496, 1768515946, 2036951402}},
        {"sine, endless fade-in, huge depth", kSine, {3, 1, 0, kHuge, 9999, kHuge}},
        {"FM, endless fade-in, huge depth", kFm, {3, 1, 0, kHuge, 9999, kHuge}},
        {"sine, deepest offered settings", kSine, {3, 1, 0, 10000, 9999, 3072}},
        {"FM, deepest offered settings", kFm, {3, 1, 0, 10000, 9999, 3072}},
    };
    std::printf("a second of a %d s note, rendered alone (target: the last well under 1 s):\n",
                kSongSeconds);
    std::vector<double> out(size_t(2 * kRate));
    for (const Case& c : cases) {
        const CProject p = DamagedLongNote(c.waveform, c.lfo);
        const auto timeSecond = [&](int32_t second) {
            return Median([&] { CSongRenderer(p).RenderSecond(second, kRate, out.data()); });
        };
        const double early = timeSecond(60);
        const double last = timeSecond(kSongSeconds - 1);
        std::printf("  %-36s second 60: %7.3f s  last: %7.3f s\n", c.name, early, last);
    }
}

} // namespace

int main() {
    BenchLongNotePlan();
    BenchDamagedNote();
    return 0;
}
