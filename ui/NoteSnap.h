#pragma once
// The piano roll's grid: positions snap to multiples of the fit unit counted from the start
// of the measure that holds them, so odd time signatures keep a grid that starts on every
// bar line.

#include <cstdint>

class CBeats;

// Largest grid point of measure(tick) not after tick. A fit below 1 counts as 1. Negative
// ticks snap against the first signature extended backwards.
int32_t SnapTick(const CBeats& beats, int32_t fit, int32_t tick);
