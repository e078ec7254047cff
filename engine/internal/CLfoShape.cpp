#include "engine/internal/CLfoShape.h"

#include "model/CLFO.h"

CLfoShape::CLfoShape(const CLFO& lfo)
    : active(lfo.period != 0 && lfo.depth != 0), negativeDelay(lfo.delay < 0),
      invert(lfo.invert != 0), waveform(lfo.waveform), delay(lfo.delay), fade(lfo.fade),
      period(lfo.period), depth(lfo.depth) {
}
