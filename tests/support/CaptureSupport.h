#pragma once
// Capture and event-loop helpers for the tests of sound output: what a listener would have
// heard, read back from the capture device's file.

#include "model/WaveFormat.h"

#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Runs the event loop until done() holds or timeoutMs pass; returns done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for ms milliseconds.
void RunFor(int ms);

// Sign changes between consecutive non-zero samples of [first, first + count).
int CountZeroCrossings(const std::vector<int16_t>& samples, size_t first, size_t count);
// Largest |sample| in [first, first + count).
int PeakOf(const std::vector<int16_t>& samples, size_t first, size_t count);

// Points TSQ_AUDIO_DEVICE at a capture file in a private folder for the life of the object,
// and restores "null" afterwards.
//
// Streams that overlap in time are recorded apart, numbered in the order they opened:
// stream 1 is Path(), stream 2 "capture-2.wav" and so on. Once all have closed, the next
// stream is stream 1 again and the numbered files of the earlier streams are gone.
class CaptureDevice {
public:
    CaptureDevice();
    ~CaptureDevice();
    CaptureDevice(const CaptureDevice&) = delete;
    CaptureDevice& operator=(const CaptureDevice&) = delete;

    const QString& Path() const { return m_path; }
    QString Folder() const { return m_dir.path(); }
    // The file of a stream, counted from 1.
    QString StreamPath(int stream) const;
    // The data bytes stream 1 recorded so far (empty when nothing was recorded).
    std::vector<uint8_t> Data(WAVE_FORMAT* format = nullptr) const;
    std::vector<uint8_t> Data(int stream, WAVE_FORMAT* format = nullptr) const;
    // The same as 16-bit samples.
    std::vector<int16_t> Samples(WAVE_FORMAT* format = nullptr) const;
    std::vector<int16_t> Samples(int stream, WAVE_FORMAT* format = nullptr) const;
    // Runs the event loop until at least `frames` samples of the stream are recorded (or
    // 5 s pass).
    bool WaitForFrames(size_t frames, int stream = 1) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};
