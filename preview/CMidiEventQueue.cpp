#include "preview/CMidiEventQueue.h"

bool CMidiEventQueue::Push(const MIDI_KEY_EVENT& event) {
    const size_t tail = m_tail.load(std::memory_order_relaxed);
    if (tail - m_head.load(std::memory_order_acquire) >= kCapacity) {
        m_dropped.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    m_ring[tail % kCapacity] = event;
    m_tail.store(tail + 1, std::memory_order_release);
    return true;
}

std::optional<MIDI_KEY_EVENT> CMidiEventQueue::Pop() {
    const size_t head = m_head.load(std::memory_order_relaxed);
    if (head == m_tail.load(std::memory_order_acquire))
        return std::nullopt;
    const MIDI_KEY_EVENT event = m_ring[head % kCapacity];
    m_head.store(head + 1, std::memory_order_release);
    return event;
}

bool CMidiEventQueue::Empty() const {
    return m_head.load(std::memory_order_acquire) == m_tail.load(std::memory_order_acquire);
}
