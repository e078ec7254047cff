#include "audio/internal/CPortAudioBackend.h"

#include "audio/internal/CNoticePump.h"
#include "audio/internal/CStreamQueue.h"

#include <algorithm>

namespace {

constexpr uint32_t kScratchFrames = 2048;

} // namespace

CPortAudioBackend::CPortAudioBackend(const WAVE_FORMAT& format, CStreamQueue& queue,
                                     CNoticePump& pump, const std::atomic<uint32_t>& volume)
    : m_format(format), m_codec(format), m_queue(queue), m_pump(pump), m_volume(volume),
      m_scratch(size_t(kScratchFrames) * format.blockAlign) {
}

std::unique_ptr<CPortAudioBackend> CPortAudioBackend::Open(const WAVE_FORMAT& format,
                                                           CStreamQueue& queue, CNoticePump& pump,
                                                           const std::atomic<uint32_t>& volume,
                                                           QString& error) {
    std::unique_ptr<CPortAudioBackend> backend(new CPortAudioBackend(format, queue, pump, volume));
    const PaError init = Pa_Initialize();
    if (init != paNoError) {
        error = QStringLiteral("PortAudio: %1").arg(QString::fromUtf8(Pa_GetErrorText(init)));
        return nullptr;
    }
    backend->m_initialized = true;
    if (!backend->OpenStream(error)) {
        return nullptr;
    }
    return backend;
}

bool CPortAudioBackend::OpenStream(QString& error) {
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    if (device == paNoDevice) {
        error = QStringLiteral("no audio output device");
        return false;
    }
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    PaStreamParameters out{};
    out.device = device;
    out.sampleFormat = paFloat32;
    out.suggestedLatency = info ? info->defaultHighOutputLatency : 0.1;
    const double rate = m_format.samplesPerSec;
    // Some devices only take stereo; a mono stream is then spread over both sides.
    for (int channels : {int(m_format.channels), 2}) {
        out.channelCount = channels;
        if (Pa_IsFormatSupported(nullptr, &out, rate) != paFormatIsSupported) {
            continue;
        }
        const PaError err = Pa_OpenStream(&m_stream, nullptr, &out, rate,
                                          paFramesPerBufferUnspecified, paClipOff, &Callback, this);
        if (err == paNoError) {
            m_outChannels = channels;
            return true;
        }
        error = QStringLiteral("PortAudio: %1").arg(QString::fromUtf8(Pa_GetErrorText(err)));
        return false;
    }
    error = QStringLiteral("the audio device refuses %1 Hz, %2 channel(s)")
                .arg(m_format.samplesPerSec)
                .arg(m_format.channels);
    return false;
}

CPortAudioBackend::~CPortAudioBackend() {
    if (m_stream) {
        Stop();
        Pa_CloseStream(m_stream);
    }
    if (m_initialized) {
        Pa_Terminate();
    }
}

bool CPortAudioBackend::Start() {
    if (!m_running) {
        m_running = Pa_StartStream(m_stream) == paNoError;
    }
    return m_running;
}

void CPortAudioBackend::Stop() {
    if (m_running) {
        Pa_AbortStream(m_stream);
        m_running = false;
    }
}

int CPortAudioBackend::Callback(const void*, void* output, unsigned long frames,
                                const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags,
                                void* self) {
    static_cast<CPortAudioBackend*>(self)->Render(static_cast<float*>(output), frames);
    return paContinue;
}

void CPortAudioBackend::Render(float* out, unsigned long frames) noexcept {
    const uint32_t block = m_format.blockAlign;
    const uint32_t volume = m_volume.load(std::memory_order_relaxed);
    while (frames > 0) {
        const auto chunk = static_cast<uint32_t>(std::min<unsigned long>(frames, kScratchFrames));
        const uint32_t got = m_queue.Pull(m_scratch.data(), chunk * block) / block;
        m_codec.ToFloat(m_scratch.data(), got, volume, out, m_outChannels);
        out += size_t(got) * m_outChannels;
        frames -= got;
        if (got < chunk) {
            // The queue ran dry: silence for the rest, as a sound card plays when starved.
            std::fill(out, out + frames * m_outChannels, 0.0f);
            break;
        }
    }
    if (m_queue.Publish()) {
        m_pump.Signal();
    }
}
