#pragma once
// Criteria of the note search; kept between runs under the settings section "FindData".

#include <cstdint>

struct FIND_DATA {
    int32_t pos = 0, posStart = 0, posEnd = 0; // ticks, end excluded
    int32_t length = 0, lengthStart = 0, lengthEnd = 0;
    int32_t keyoff = 0, keyoffStart = 0, keyoffEnd = 0;
    // Keys count downward, so keyStart names the lower pitch: keyEnd <= key <= keyStart.
    int32_t key = 0, keyStart = 59, keyEnd = 59;
    int32_t volume = 0, volumeStart = 0, volumeEnd = 0;

    bool AnyEnabled() const { return pos || length || keyoff || key || volume; }
};
