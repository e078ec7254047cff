#include "ui/NoteSnap.h"

#include "model/CBeats.h"

#include <algorithm>

int32_t SnapTick(const CBeats& beats, int32_t fit, int32_t tick) {
    const int64_t unit = std::max<int32_t>(fit, 1);
    const int64_t start = beats.MeasureToTick(beats.TickToMeasure(tick));
    const int64_t offset = int64_t{tick} - start;
    // Measure starts never lie after the tick, so the offset is not negative and plain
    // division truncates towards the measure start.
    const int64_t snapped = start + (std::max<int64_t>(offset, 0) / unit) * unit;
    return static_cast<int32_t>(std::min<int64_t>(snapped, tick));
}
