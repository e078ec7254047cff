#include "app/CInterruptGuard.h"

namespace {

// A lock-free atomic is safe to store from a signal handler.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    interrupted.store(true);
}

} // namespace

CInterruptGuard::CInterruptGuard() {
    interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    m_installed = sigaction(SIGINT, &action, &m_previous) == 0;
}

CInterruptGuard::~CInterruptGuard() {
    if (m_installed)
        sigaction(SIGINT, &m_previous, nullptr);
}

const std::atomic<bool>& CInterruptGuard::Flag() {
    return interrupted;
}
