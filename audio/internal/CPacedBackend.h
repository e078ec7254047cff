#pragma once
// The null and capture devices: a thread that consumes the queue at the real-time pace of
// the format, so that positions and buffer notices behave as on hardware, without sound.
// With a capture file it also records what it consumed, after the device volume.
//
// Like a sound card, the device idles when the queue runs dry: the position stands still
// and nothing is recorded until the next buffer arrives.

#include "audio/internal/CCaptureFile.h"
#include "audio/internal/CSampleCodec.h"
#include "audio/internal/IWaveBackend.h"
#include "model/WaveFormat.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CNoticePump;
class CStreamQueue;

class CPacedBackend final : public IWaveBackend {
public:
    CPacedBackend(const WAVE_FORMAT& format, CStreamQueue& queue, CNoticePump& pump,
                  const std::atomic<uint32_t>& volume, std::unique_ptr<CCaptureFile> capture);
    ~CPacedBackend() override;

    bool Start() override;
    void Stop() override;

private:
    void Run();
    uint32_t Consume(uint32_t frames);

    const WAVE_FORMAT m_format;
    const CSampleCodec m_codec;
    CStreamQueue& m_queue;
    CNoticePump& m_pump;
    const std::atomic<uint32_t>& m_volume;
    std::unique_ptr<CCaptureFile> m_capture;
    std::vector<uint8_t> m_scratch;

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_quit = false; // guarded by m_mutex
};
