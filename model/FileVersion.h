#pragma once
// Version word of project files and clipboard records: low byte major, next byte minor.

#include <cstdint>

constexpr uint32_t kFileVersion = 0x0901; // 1.9

// True when a file of version word v is older than 1.minor: major at most 1 and the
// minor number below the given one. The upper 16 bits take no part.
constexpr bool IsBefore(uint32_t v, int minor) {
    return (v & 0xFF) <= 1 && static_cast<int>((v >> 8) & 0xFF) < minor;
}
