#include "AudioTestSupport.h"

#include "audio/CAudioFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

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

std::vector<uint8_t> CaptureDevice::Data(WAVE_FORMAT* format) const {
    WAVE_FORMAT f;
    std::vector<uint8_t> data;
    CAudioFile::ReadWave(m_path, f, data);
    if (format) {
        *format = f;
    }
    return data;
}
