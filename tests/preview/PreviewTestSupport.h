#pragma once
// Songs, reference renders, event-loop and capture helpers for the preview tests.

#include "model/CProject.h"
#include "model/WaveFormat.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <vector>

namespace previewtest {

// A song with one track of the given source at full track and master volume and without
// click reduction, so a sine key's samples are plain sines of full scale.
CProject Song(int32_t rate, int32_t waveform);

// What a key of the song's first track renders from its start, as 16-bit samples.
std::vector<int16_t> Reference(const CProject& song, int key, size_t frames, double gain = 1.0);

// Sign changes between consecutive non-zero samples.
int CountZeroCrossings(const std::vector<int16_t>& samples, size_t first, size_t count);
// Largest |sample| in [first, first + count).
int PeakOf(const std::vector<int16_t>& samples, size_t first, size_t count);

// Runs the event loop until done() holds or timeoutMs pass; returns done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs);
void RunFor(int ms);

// Points TSQ_AUDIO_DEVICE at a capture file in a private folder for the life of the object
// and restores "null" afterwards.
class CaptureDevice {
public:
    CaptureDevice();
    ~CaptureDevice();
    // The 16-bit samples recorded so far; `format` receives the file's format.
    std::vector<int16_t> Samples(WAVE_FORMAT* format = nullptr) const;
    // Runs the event loop until at least `frames` samples are recorded (or 5 s pass).
    bool WaitForFrames(size_t frames) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace previewtest
