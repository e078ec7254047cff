#pragma once
// Turns Ctrl+C into a request the headless modes poll, instead of killing the process: a
// build then finalises its WAV file and remembers the unrendered seconds, an encoding keeps
// the part written. The previous SIGINT handler comes back when the guard goes.
//
// One guard at a time; the flag is process-wide because a signal handler can reach nothing
// else.

#include <atomic>
#include <csignal>

class CInterruptGuard {
public:
    CInterruptGuard();
    ~CInterruptGuard();
    CInterruptGuard(const CInterruptGuard&) = delete;
    CInterruptGuard& operator=(const CInterruptGuard&) = delete;

    // True once Ctrl+C was pressed while the guard stood.
    static const std::atomic<bool>& Flag();
    static bool Interrupted() { return Flag().load(); }

private:
    struct sigaction m_previous {};
    bool m_installed = false;
};
