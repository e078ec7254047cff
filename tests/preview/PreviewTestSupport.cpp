#include "PreviewTestSupport.h"

#include "audio/CAudioFile.h"
#include "engine/preview/internal/CPreviewVoice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdlib>

namespace previewtest {

CProject Song(int32_t rate, int32_t waveform) {
    CProject p;
    p.data.samplesPerSec = rate;
    p.data.channels = 1;
    p.data.volumes.Assign({{0, 255}});
    p.data.reductionPuchiNoise = 0;
    CTrack& t = p.tracks.emplace_back();
    t.settings.waveform = waveform;
    t.settings.volume = 255;
    return p;
}

std::vector<int16_t> Reference(const CProject& song, int key, size_t frames, double gain) {
    CPreviewVoice voice;
    voice.Start(song, song.tracks.at(0), key);
    std::vector<uint8_t> bytes(frames * 2);
    voice.Render(bytes.data(), int32_t(frames), gain);
    std::vector<int16_t> samples(frames);
    for (size_t i = 0; i < frames; ++i)
        samples[i] = int16_t(uint16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    return samples;
}

int CountZeroCrossings(const std::vector<int16_t>& samples, size_t first, size_t count) {
    int crossings = 0;
    int last = 0;
    for (size_t i = first; i < first + count && i < samples.size(); ++i) {
        const int sign = (samples[i] > 0) - (samples[i] < 0);
        if (sign != 0 && last != 0 && sign != last)
            ++crossings;
        if (sign != 0)
            last = sign;
    }
    return crossings;
}

int PeakOf(const std::vector<int16_t>& samples, size_t first, size_t count) {
    int peak = 0;
    for (size_t i = first; i < first + count && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return done();
}

void RunFor(int ms) {
    RunUntil([] { return false; }, ms);
}

CaptureDevice::CaptureDevice() : m_path(m_dir.filePath(QStringLiteral("capture.wav"))) {
    qputenv("TSQ_AUDIO_DEVICE", "capture:" + m_path.toUtf8());
}

CaptureDevice::~CaptureDevice() {
    qputenv("TSQ_AUDIO_DEVICE", "null");
}

std::vector<int16_t> CaptureDevice::Samples(WAVE_FORMAT* format) const {
    WAVE_FORMAT f;
    std::vector<uint8_t> data;
    CAudioFile::ReadWave(m_path, f, data);
    if (format)
        *format = f;
    std::vector<int16_t> samples(data.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(uint16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    return samples;
}

bool CaptureDevice::WaitForFrames(size_t frames) const {
    return RunUntil([&] { return Samples().size() >= frames; }, 5000);
}

} // namespace previewtest
