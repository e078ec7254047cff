#include "engine/internal/CNoteTimes.h"

#include "model/CNote.h"
#include "model/CTempoList.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Tick sums of damaged notes can leave the 32-bit range; the tempo list only knows ticks
// inside it, and everything before tick 0 is time 0 anyway.
int32_t ClampTick(int64_t tick) {
    return static_cast<int32_t>(std::clamp<int64_t>(tick, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

CNoteTimes::CNoteTimes(const CNote& note, const CTempoList& tempos) {
    const int64_t position = note.position;
    const int64_t end = position + note.length;
    noteStart = tempos.TicksToSeconds(0, ClampTick(position));
    noteEnd = tempos.TicksToSeconds(0, ClampTick(end));
    lengthMs = (noteEnd - noteStart) * 1000;
    keyOffMs = 1000 * tempos.TicksToSeconds(ClampTick(position), ClampTick(end - note.keyoff));
    glide = note.portamentoLength != 0 && note.portamentoLevel != 0;
    if (glide) {
        const int64_t from = position + note.portamentoStart;
        glideStart = tempos.TicksToSeconds(0, ClampTick(from));
        glideEnd = tempos.TicksToSeconds(0, ClampTick(from + note.portamentoLength));
        // Files hold the level in 16 bits. A deeper glide made in memory would be steep
        // enough to defeat the phase catch-up's shortcuts, and its pitch would overflow.
        glideLevel = std::clamp<int32_t>(note.portamentoLevel, std::numeric_limits<int16_t>::min(),
                                         std::numeric_limits<int16_t>::max());
    }
    valid = std::isfinite(noteStart) && std::isfinite(noteEnd) && std::isfinite(lengthMs) &&
            std::isfinite(keyOffMs) && std::isfinite(glideStart) && std::isfinite(glideEnd);
}
