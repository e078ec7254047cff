#include "audio/internal/CStreamQueue.h"

#include <algorithm>
#include <cstring>

CStreamQueue::CStreamQueue(uint32_t blockAlign)
    : m_block(std::clamp<uint32_t>(blockAlign, 1, kMaxBlock)) {
}

bool CStreamQueue::Push(const uint8_t* data, uint32_t length) {
    const uint64_t head = m_head.load(std::memory_order_relaxed);
    if (head - m_tail.load(std::memory_order_acquire) >= kCapacity) {
        return false;
    }
    m_ring[head % kCapacity] = ENTRY{data, length};
    m_head.store(head + 1, std::memory_order_release);
    return true;
}

void CStreamQueue::Clear() {
    m_tail.store(m_head.load(std::memory_order_relaxed), std::memory_order_release);
    m_offset = 0;
    m_carryBytes = 0;
    m_completedLocal = 0;
    m_completed.store(0, std::memory_order_release);
    m_bytesPlayed.store(0, std::memory_order_release);
}

uint32_t CStreamQueue::Pull(uint8_t* dst, uint32_t maxBytes) noexcept {
    uint32_t n = m_carryBytes;
    std::memcpy(dst, m_carry, m_carryBytes);
    m_carryBytes = 0;
    uint64_t tail = m_tail.load(std::memory_order_relaxed);
    while (n < maxBytes && tail != m_head.load(std::memory_order_acquire)) {
        const ENTRY& entry = m_ring[tail % kCapacity];
        const uint32_t take = std::min(entry.length - m_offset, maxBytes - n);
        if (take > 0) {
            std::memcpy(dst + n, entry.data + m_offset, take);
        }
        n += take;
        m_offset += take;
        if (m_offset == entry.length) {
            m_offset = 0;
            ++tail;
            m_tail.store(tail, std::memory_order_release);
            ++m_completedLocal;
        }
    }
    const uint32_t whole = n - n % m_block;
    m_carryBytes = n - whole;
    std::memcpy(m_carry, dst + whole, m_carryBytes);
    m_bytesPlayed.store(m_bytesPlayed.load(std::memory_order_relaxed) + whole,
                        std::memory_order_release);
    return whole;
}

bool CStreamQueue::Publish() noexcept {
    if (m_completed.load(std::memory_order_relaxed) == m_completedLocal) {
        return false;
    }
    m_completed.store(m_completedLocal, std::memory_order_release);
    return true;
}
