#include "engine/NoiseTable.h"

const std::array<int8_t, 4095>& NoiseTable() {
    static const std::array<int8_t, 4095> table = [] {
        std::array<int8_t, 4095> t{};
        uint32_t state = 1;
        for (int8_t& v : t) {
            state = state * 214013u + 2531011u;
            v = ((state >> 16) & 0x7FFF) % 2 == 0 ? 1 : -1;
        }
        return t;
    }();
    return table;
}
