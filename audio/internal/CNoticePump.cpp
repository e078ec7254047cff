#include "audio/internal/CNoticePump.h"

#include <cerrno>

CNoticePump::CNoticePump(std::function<void()> wake) : m_wake(std::move(wake)) {
    sem_init(&m_semaphore, 0, 0);
    m_thread = std::thread([this] { Run(); });
}

CNoticePump::~CNoticePump() {
    m_quit.store(true);
    sem_post(&m_semaphore);
    m_thread.join();
    sem_destroy(&m_semaphore);
}

void CNoticePump::Run() {
    for (;;) {
        while (sem_wait(&m_semaphore) != 0 && errno == EINTR) {
        }
        if (m_quit.load()) {
            return;
        }
        // Several signals may have piled up; one wake-up serves them all.
        while (sem_trywait(&m_semaphore) == 0) {
        }
        m_wake();
    }
}
