#include "engine/MetronomeBeats.h"

#include <algorithm>
#include <cmath>

namespace {

// The tick the renderer gives a frame: it times frame j of second s as j / rate + s.
int32_t RenderedTick(const CTempoList& tempos, uint64_t frame, uint32_t sampleRate) {
    const double seconds = double(frame / sampleRate) + double(frame % sampleRate) / sampleRate;
    return tempos.SecondsToTicks(seconds);
}

// The first frame the renderer gives `tick` or a later one: the frame a note starting at
// `tick` begins on. The estimate from the tick's time can be a frame off either way, as the
// two conversions round differently, so it is moved until it agrees with the renderer. A
// few steps suffice for any song a dialog can make; times beyond the range of a double's
// frames (damaged tempos) keep the estimate.
uint64_t FirstFrameOf(const CTempoList& tempos, int32_t tick, uint32_t sampleRate) {
    constexpr int kSteps = 4;
    const double estimate = std::ceil(tempos.SecondsAt(tick) * sampleRate);
    uint64_t frame = uint64_t(std::clamp(estimate, 0.0, 1e15));
    for (int i = 0; i < kSteps && RenderedTick(tempos, frame, sampleRate) < tick; ++i)
        ++frame;
    for (int i = 0; i < kSteps && frame > 0 && RenderedTick(tempos, frame - 1, sampleRate) >= tick;
         ++i)
        --frame;
    return frame;
}

} // namespace

std::vector<METRONOME_BEAT> MetronomeBeats(const CTempoList& tempos, const CBeats& beats,
                                           int32_t endTick, uint32_t sampleRate) {
    std::vector<METRONOME_BEAT> clicks;
    if (sampleRate == 0)
        return clicks;
    for (int32_t m = 0; clicks.size() < kMaxMetronomeBeats; ++m) {
        const int64_t start = beats.MeasureToTick(m);
        if (start >= endTick || m == INT32_MAX)
            break;
        const BEAT& beat = beats.At(m);
        const int64_t length = std::max(beat.MeasureLength(), 1);
        const int64_t beatTicks = std::max<int64_t>(1920 / std::max(beat.baseBeat, 1), 1);
        for (int64_t offset = 0; offset < length && clicks.size() < kMaxMetronomeBeats;
             offset += beatTicks) {
            const int64_t tick = start + offset;
            if (tick >= endTick)
                break;
            clicks.push_back({FirstFrameOf(tempos, int32_t(tick), sampleRate), offset == 0});
        }
    }
    return clicks;
}
