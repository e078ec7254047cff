#pragma once
// The queue of written buffers between the owner thread and the device's consumer (the
// PortAudio callback or the paced thread of the null and capture devices).
//
// Single producer, single consumer, fixed capacity, wait-free on both sides: the consumer
// never blocks, locks or allocates. The consumer sees buffers as one byte stream and hands
// out whole frames only; a frame split across two buffers is carried over.

#include <atomic>
#include <cstdint>

class CStreamQueue {
public:
    static constexpr uint32_t kCapacity = 256; // buffers queued at once
    static constexpr uint32_t kMaxBlock = 16;  // bytes of one frame at most (2 × 64-bit)

    explicit CStreamQueue(uint32_t blockAlign);
    CStreamQueue(const CStreamQueue&) = delete;
    CStreamQueue& operator=(const CStreamQueue&) = delete;

    // ---- For the owner thread only ----
    // Appends a buffer; false when kCapacity buffers are already queued.
    bool Push(const uint8_t* data, uint32_t length);
    // Buffers finished since the last Clear, as published by the consumer.
    uint64_t Completed() const { return m_completed.load(std::memory_order_acquire); }
    // Bytes handed to the output since the last Clear (whole frames).
    uint64_t BytesPlayed() const { return m_bytesPlayed.load(std::memory_order_acquire); }
    // Forgets every queued buffer and zeroes the counters. Only while the consumer is
    // stopped (its thread joined or its stream stopped).
    void Clear();

    // ---- For the consumer only ----
    // Copies up to maxBytes (a multiple of the frame size) of queued bytes into dst and
    // returns how many bytes of whole frames it wrote.
    uint32_t Pull(uint8_t* dst, uint32_t maxBytes) noexcept;
    // Makes the buffers finished by Pull visible to the owner; true when there were any.
    bool Publish() noexcept;

private:
    struct ENTRY {
        const uint8_t* data;
        uint32_t length;
    };

    ENTRY m_ring[kCapacity] = {};
    alignas(64) std::atomic<uint64_t> m_head{0}; // next slot to fill, written by the owner
    alignas(64) std::atomic<uint64_t> m_tail{0}; // slot being played, written by the consumer
    alignas(64) std::atomic<uint64_t> m_completed{0};
    std::atomic<uint64_t> m_bytesPlayed{0};

    // Consumer state.
    uint32_t m_offset = 0; // bytes of the front buffer already played
    uint64_t m_completedLocal = 0;
    uint8_t m_carry[kMaxBlock] = {};
    uint32_t m_carryBytes = 0;
    const uint32_t m_block;
};
