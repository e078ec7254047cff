#pragma once
// The drums of the factory presets' PCM kit besides the kick, synthesised from sines,
// filtered noise and the six detuned square waves of an analogue drum machine's cymbals.
// Each is 16-bit mono at kRate, peaking at 90 % of full scale and ending at zero.

#include <array>
#include <cstdint>
#include <vector>

namespace exampledrums {

inline constexpr int kRate = 22050;

struct DRUM {
    const char* name;
    std::vector<int16_t> (*make)();
};

std::vector<int16_t> Snare();
std::vector<int16_t> ClosedHat();
std::vector<int16_t> OpenHat();
std::vector<int16_t> Clap();
std::vector<int16_t> Tom();
std::vector<int16_t> Crash();

inline constexpr std::array<DRUM, 6> kKit{{
    {"snare", Snare},
    {"closed-hat", ClosedHat},
    {"open-hat", OpenHat},
    {"clap", Clap},
    {"tom", Tom},
    {"crash", Crash},
}};

} // namespace exampledrums
