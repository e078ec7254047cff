#pragma once
// One buffer handed to a wave-out device. The owner allocates the bytes and the header and
// keeps both alive and untouched from Write until the device hands the header back with a
// bufferDone notice (or until the device is closed). The device maintains the flags; the
// owner only reads them.

#include <cstdint>

struct WAVE_HEADER {
    uint8_t* data = nullptr; // the bytes to play, in the device's format
    uint32_t length = 0;     // bytes to play; 0 is allowed and comes back at once
    uint32_t flags = 0;      // kDone | kPrepared | kInQueue, kept by the device
    void* user = nullptr;    // free for the owner

    static constexpr uint32_t kDone = 0x01;     // the device has finished with the buffer
    static constexpr uint32_t kPrepared = 0x02; // Prepare was called, Unprepare not yet
    static constexpr uint32_t kInQueue = 0x10;  // written and not yet finished
};
