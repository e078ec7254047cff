#pragma once
// Catch-up points of the notes whose pitch varies (vibrato, glide), shared by the threads
// of one build. Every render restarts each oscillator from its note's start; for a long
// varying note that means a frame-by-frame sum over everything before the rendered second.
// A render that has summed that far leaves its point here, and later renders of the same
// note continue from the nearest earlier point. Points are exact continuations of the sum
// (CPitchStream), so what a render produces does not depend on which points it finds.
//
// Thread-safe; a lock is taken once per oscillator catch-up, never per sample.

#include "engine/internal/CPitchStream.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <unordered_map>

class CCatchUpCheckpoints {
public:
    // Moves `point` forward to the latest stored point of the stream at or before `frame`
    // (leaves it when none is later than it already is).
    void Best(int32_t note, int32_t stream, int64_t frame, CATCH_UP_POINT& point) const;
    void Publish(int32_t note, int32_t stream, const CATCH_UP_POINT& point);

private:
    static constexpr size_t kSlots = 4;
    struct SLOTS {
        std::array<CATCH_UP_POINT, kSlots> points{};
        size_t used = 0;
    };
    static uint64_t Key(int32_t note, int32_t stream) {
        return (uint64_t(uint32_t(note)) << 8) | uint32_t(stream);
    }

    mutable std::mutex mutex;
    std::unordered_map<uint64_t, SLOTS> slots;
};
