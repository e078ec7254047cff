#pragma once
// 4095 signs (+1/-1) from a fixed linear congruential generator; the same on every run.

#include <array>
#include <cstdint>

const std::array<int8_t, 4095>& NoiseTable();
