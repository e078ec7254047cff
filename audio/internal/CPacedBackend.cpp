#include "audio/internal/CPacedBackend.h"

#include "audio/internal/CNoticePump.h"
#include "audio/internal/CStreamQueue.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace {

constexpr uint32_t kScratchFrames = 4096;
constexpr auto kTick = std::chrono::milliseconds(2);

} // namespace

CPacedBackend::CPacedBackend(const WAVE_FORMAT& format, CStreamQueue& queue, CNoticePump& pump,
                             const std::atomic<uint32_t>& volume,
                             std::unique_ptr<CCaptureFile> capture)
    : m_format(format), m_codec(format), m_queue(queue), m_pump(pump), m_volume(volume),
      m_capture(std::move(capture)), m_scratch(size_t(kScratchFrames) * format.blockAlign) {
}

CPacedBackend::~CPacedBackend() {
    Stop();
}

bool CPacedBackend::Start() {
    if (m_thread.joinable()) {
        return true;
    }
    m_quit = false;
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CPacedBackend::Stop() {
    if (!m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CPacedBackend::Run() {
    using Clock = std::chrono::steady_clock;
    const double framesPerSecond = m_format.samplesPerSec;
    // After a stall (a loaded machine, a debugger) the device catches up at most this far,
    // as a real device would drop out rather than play faster.
    const double maxDue = framesPerSecond / 10.0;
    auto last = Clock::now();
    double due = 0.0;
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, kTick, [this] { return m_quit; })) {
        lock.unlock();
        const auto now = Clock::now();
        due = std::min(due + std::chrono::duration<double>(now - last).count() * framesPerSecond,
                       maxDue);
        last = now;
        const auto want = static_cast<uint32_t>(due);
        const uint32_t got = Consume(want);
        // A dry queue means the device idles: nothing is owed for the idle time.
        due = got < want ? 0.0 : due - got;
        if (m_queue.Publish()) {
            m_pump.Signal();
        }
        lock.lock();
    }
}

uint32_t CPacedBackend::Consume(uint32_t frames) {
    const uint32_t block = m_format.blockAlign;
    uint32_t total = 0;
    while (total < frames) {
        const uint32_t chunk = std::min(frames - total, kScratchFrames);
        const uint32_t got = m_queue.Pull(m_scratch.data(), chunk * block) / block;
        if (m_capture && got > 0) {
            m_codec.ApplyVolume(m_scratch.data(), got, m_volume.load(std::memory_order_relaxed));
            m_capture->Append(m_scratch.data(), size_t(got) * block);
        }
        total += got;
        if (got < chunk) {
            break;
        }
    }
    return total;
}
