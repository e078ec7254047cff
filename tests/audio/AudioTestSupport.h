#pragma once
// Event-loop and capture helpers for the audio tests.

#include "model/WaveFormat.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <vector>

// Runs the event loop until done() holds or timeoutMs pass; returns done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for ms milliseconds.
void RunFor(int ms);

// Points TSQ_AUDIO_DEVICE at a capture file in a private folder for the life of the object,
// and restores "null" afterwards.
class CaptureDevice {
public:
    CaptureDevice();
    ~CaptureDevice();
    const QString& Path() const { return m_path; }
    // The data bytes recorded so far (empty when nothing was recorded).
    std::vector<uint8_t> Data(WAVE_FORMAT* format = nullptr) const;
    QString Folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};
