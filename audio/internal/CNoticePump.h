#pragma once
// Carries "some buffers are finished" from the device's consumer to the owner thread. The
// consumer only posts a POSIX semaphore, which neither blocks, locks nor allocates; a
// watcher thread wakes up and runs the wake function (which posts a Qt event).

#include <semaphore.h>

#include <atomic>
#include <functional>
#include <thread>

class CNoticePump {
public:
    explicit CNoticePump(std::function<void()> wake);
    ~CNoticePump();
    CNoticePump(const CNoticePump&) = delete;
    CNoticePump& operator=(const CNoticePump&) = delete;

    // For the consumer: safe in a real-time callback.
    void Signal() noexcept { sem_post(&m_semaphore); }

private:
    void Run();

    sem_t m_semaphore;
    std::atomic<bool> m_quit{false};
    std::function<void()> m_wake;
    std::thread m_thread;
};
