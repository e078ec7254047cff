#pragma once
// The WAV file of the capture device: everything a stream played, in the stream's own format
// after the device volume, with a header that is valid after every append, so that a reader
// may look at the file while the device is still open.
//
// One file per path and process at a time: opening a second capture on a path that an open
// capture still writes takes the file over. The new stream starts the file afresh and the
// older stream stops recording. So the file always holds the most recently opened stream.

#include "model/WaveFormat.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class CCaptureFile {
public:
    static std::unique_ptr<CCaptureFile> Create(const QString& path, const WAVE_FORMAT& format,
                                                QString& error);
    ~CCaptureFile();
    CCaptureFile(const CCaptureFile&) = delete;
    CCaptureFile& operator=(const CCaptureFile&) = delete;

    // Appends played bytes (whole frames). Called by the paced thread; takes a process-wide
    // lock and does file I/O, so it must never run inside a real-time callback.
    void Append(const uint8_t* bytes, size_t count);

private:
    CCaptureFile(std::string path, std::FILE* file);
    bool WriteSizes();

    std::string m_path;
    std::FILE* m_file = nullptr; // null once another stream took the path over
    uint32_t m_dataBytes = 0;
};
