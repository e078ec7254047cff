#include "CaptureSupport.h"

#include "audio/CAudioFile.h"
#include "audio/internal/CCaptureNames.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdlib>

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

CaptureDevice::CaptureDevice() : m_path(m_dir.filePath(QStringLiteral("capture.wav"))) {
    qputenv("TSQ_AUDIO_DEVICE", "capture:" + m_path.toUtf8());
}

CaptureDevice::~CaptureDevice() {
    qputenv("TSQ_AUDIO_DEVICE", "null");
}

QString CaptureDevice::StreamPath(int stream) const {
    return QFile::decodeName(
        CCaptureNames::Numbered(QFile::encodeName(m_path).toStdString(), stream).c_str());
}

std::vector<uint8_t> CaptureDevice::Data(WAVE_FORMAT* format) const {
    return Data(1, format);
}

std::vector<uint8_t> CaptureDevice::Data(int stream, WAVE_FORMAT* format) const {
    WAVE_FORMAT f;
    std::vector<uint8_t> data;
    CAudioFile::ReadWave(StreamPath(stream), f, data);
    if (format != nullptr)
        *format = f;
    return data;
}

std::vector<int16_t> CaptureDevice::Samples(WAVE_FORMAT* format) const {
    return Samples(1, format);
}

std::vector<int16_t> CaptureDevice::Samples(int stream, WAVE_FORMAT* format) const {
    const std::vector<uint8_t> data = Data(stream, format);
    std::vector<int16_t> samples(data.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(uint16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    return samples;
}

bool CaptureDevice::WaitForFrames(size_t frames, int stream) const {
    return RunUntil([&] { return Samples(stream).size() >= frames; }, 5000);
}
