// Feeds arbitrary bytes of a MIDI input stream to the key-event parser and hands what it
// finds to the event queue. Every event must be a well-formed key, a real-time byte between
// any two bytes must change nothing, and the queue must keep the events it accepts, in
// order, and count those it drops.

#include "preview/CMidiEventQueue.h"
#include "preview/CMidiParser.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint8_t kTimingClock = 0xF8;

std::vector<MIDI_KEY_EVENT> Parse(const uint8_t* data, size_t size, bool clocks) {
    CMidiParser parser;
    std::vector<MIDI_KEY_EVENT> events;
    for (size_t i = 0; i < size; ++i) {
        if (clocks && parser.Feed(kTimingClock))
            std::abort();
        if (const auto event = parser.Feed(data[i])) {
            if (event->channel > 15 || event->note > 127 || event->velocity > 127 ||
                (event->on && event->velocity == 0))
                std::abort();
            events.push_back(*event);
        }
    }
    return events;
}

void CheckQueue(const std::vector<MIDI_KEY_EVENT>& events) {
    CMidiEventQueue queue;
    size_t accepted = 0;
    for (const MIDI_KEY_EVENT& event : events)
        accepted += queue.Push(event) ? 1 : 0;
    if (accepted != std::min(events.size(), CMidiEventQueue::kCapacity))
        std::abort();
    if (queue.Dropped() != events.size() - accepted)
        std::abort();
    for (size_t i = 0; i < accepted; ++i) {
        const auto popped = queue.Pop();
        if (!popped || !(*popped == events[i]))
            std::abort();
    }
    if (!queue.Empty() || queue.Pop())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<MIDI_KEY_EVENT> events = Parse(data, size, false);
    if (Parse(data, size, true) != events)
        std::abort();
    CheckQueue(events);
    return 0;
}
