#include "engine/internal/CCatchUpCheckpoints.h"

void CCatchUpCheckpoints::Best(int32_t note, int32_t stream, int64_t frame,
                               CATCH_UP_POINT& point) const {
    std::lock_guard<std::mutex> lock(mutex);
    const auto it = slots.find(Key(note, stream));
    if (it == slots.end())
        return;
    for (size_t i = 0; i < it->second.used; ++i) {
        const CATCH_UP_POINT& p = it->second.points[i];
        if (p.frame <= frame && p.frame > point.frame)
            point = p;
    }
}

void CCatchUpCheckpoints::Publish(int32_t note, int32_t stream, const CATCH_UP_POINT& point) {
    std::lock_guard<std::mutex> lock(mutex);
    SLOTS& s = slots[Key(note, stream)];
    size_t target = 0;
    for (size_t i = 0; i < s.used; ++i) {
        if (s.points[i].frame == point.frame)
            return;
        if (s.points[i].frame < s.points[target].frame)
            target = i;
    }
    // Renders mostly move forward through the song, so the earliest point is the one
    // least likely to be wanted again.
    if (s.used < kSlots)
        target = s.used++;
    s.points[target] = point;
}
