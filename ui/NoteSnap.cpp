#include "ui/NoteSnap.h"

#include "model/CBeats.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kMaxTick = std::numeric_limits<int32_t>::max();

} // namespace

int32_t SnapTick(const CBeats& beats, int32_t fit, int32_t tick) {
    const int64_t unit = std::max<int32_t>(fit, 1);
    const int64_t start = beats.MeasureToTick(beats.TickToMeasure(tick));
    const int64_t offset = int64_t{tick} - start;
    // Measure starts never lie after the tick, so the offset is not negative and plain
    // division truncates towards the measure start.
    const int64_t snapped = start + (std::max<int64_t>(offset, 0) / unit) * unit;
    return static_cast<int32_t>(std::min<int64_t>(snapped, tick));
}

// The grid point before the tick and the next one, which is the next bar line when the
// measure ends first; a tie goes to the later one.
int32_t NearestSnapTick(const CBeats& beats, int32_t fit, int32_t tick) {
    const int64_t unit = std::max<int32_t>(fit, 1);
    const int32_t at = std::max(tick, 0);
    const int64_t before = SnapTick(beats, fit, at);
    const int32_t measure = beats.TickToMeasure(at);
    const int64_t barLine =
        measure < std::numeric_limits<int32_t>::max() ? beats.MeasureToTick(measure + 1) : kMaxTick;
    const int64_t after = barLine > at ? std::min(before + unit, barLine) : before + unit;
    const int64_t nearest = at - before < after - at ? before : std::min(after, kMaxTick);
    return static_cast<int32_t>(nearest);
}

int32_t FitLength(int32_t fit, int64_t ticks) {
    const int64_t unit = std::max<int32_t>(fit, 1);
    const int64_t units = std::max<int64_t>((std::max<int64_t>(ticks, 0) + unit / 2) / unit, 1);
    return static_cast<int32_t>(std::min(units * unit, kMaxTick));
}
