#pragma once
// What the live player's thread publishes for queries from any thread. Written only on the
// player thread (and before it starts); each value is read on its own, so a reader may see
// one command's effect on one value before another's.

#include <atomic>
#include <cstdint>

struct LIVE_STATUS {
    std::atomic<bool> open{false};
    std::atomic<bool> playing{false};
    std::atomic<bool> loop{false}; // the song's own loop switch
    std::atomic<uint32_t> rate{0};
    std::atomic<uint64_t> frames{0};   // kept frames
    std::atomic<uint64_t> position{0}; // frame heard
    std::atomic<bool> fileLoop{false};
    std::atomic<uint64_t> fileLoopStart{0}; // frames; the end is exclusive
    std::atomic<uint64_t> fileLoopEnd{0};
    std::atomic<double> volume{1.0};
    std::atomic<uint32_t> underruns{0};
};
