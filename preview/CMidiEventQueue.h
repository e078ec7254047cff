#pragma once
// The hand-over of key events from the MIDI reading thread to the user-interface thread:
// a ring of fixed size for one writer and one reader, without locks. When the reader falls
// behind (a flood of messages) further events are dropped and counted, so the queue never
// grows and the writer never waits.
//
// Thread: Push on one thread, Pop on one other.

#include "preview/CMidiParser.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>

class CMidiEventQueue {
public:
    static constexpr size_t kCapacity = 512;

    // False (and the event is dropped) when the queue is full.
    bool Push(const MIDI_KEY_EVENT& event);
    std::optional<MIDI_KEY_EVENT> Pop();
    bool Empty() const;
    uint64_t Dropped() const { return m_dropped.load(std::memory_order_relaxed); }

private:
    std::array<MIDI_KEY_EVENT, kCapacity> m_ring{};
    std::atomic<size_t> m_head{0}; // next to pop, written by the reader
    std::atomic<size_t> m_tail{0}; // next to push, written by the writer
    std::atomic<uint64_t> m_dropped{0};
};
