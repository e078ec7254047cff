#pragma once
// The piano roll's grid: positions snap to multiples of the fit unit counted from the start
// of the measure that holds them, so odd time signatures keep a grid that starts on every
// bar line.

#include <cstdint>

class CBeats;

// Largest grid point of measure(tick) not after tick. A fit below 1 counts as 1. Negative
// ticks snap against the first signature extended backwards.
int32_t SnapTick(const CBeats& beats, int32_t fit, int32_t tick);

// The grid point of the measure nearest to `tick`, or the next bar line when that is
// nearer: where a note played at `tick` is entered. Never negative.
int32_t NearestSnapTick(const CBeats& beats, int32_t fit, int32_t tick);

// `ticks` rounded to the nearest multiple of the fit unit, at least one unit and at most
// the largest tick.
int32_t FitLength(int32_t fit, int64_t ticks);
