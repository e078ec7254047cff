#pragma once
// The real output device over PortAudio's default output. Every sample layout is converted
// to float frames with the device volume applied; a mono stream goes to both sides when the
// device wants two channels.
//
// The PortAudio callback only pulls from the lock-free queue, converts into memory
// allocated at open and posts the notice semaphore: it never blocks, locks or allocates.

#include "audio/internal/CSampleCodec.h"
#include "audio/internal/IWaveBackend.h"
#include "model/WaveFormat.h"

#include <QString>

#include <portaudio.h>

#include <atomic>
#include <memory>
#include <vector>

class CNoticePump;
class CStreamQueue;

class CPortAudioBackend final : public IWaveBackend {
public:
    // Null with a reason when PortAudio has no output device or refuses the format.
    static std::unique_ptr<CPortAudioBackend> Open(const WAVE_FORMAT& format, CStreamQueue& queue,
                                                   CNoticePump& pump,
                                                   const std::atomic<uint32_t>& volume,
                                                   QString& error);
    ~CPortAudioBackend() override;

    bool Start() override;
    void Stop() override;

private:
    CPortAudioBackend(const WAVE_FORMAT& format, CStreamQueue& queue, CNoticePump& pump,
                      const std::atomic<uint32_t>& volume);
    bool OpenStream(QString& error);
    static int Callback(const void* input, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags,
                        void* self);
    void Render(float* out, unsigned long frames) noexcept;

    const WAVE_FORMAT m_format;
    const CSampleCodec m_codec;
    CStreamQueue& m_queue;
    CNoticePump& m_pump;
    const std::atomic<uint32_t>& m_volume;
    std::vector<uint8_t> m_scratch;
    PaStream* m_stream = nullptr;
    int m_outChannels = 0;
    bool m_initialized = false;
    bool m_running = false;
};
