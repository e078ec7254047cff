#pragma once
// The WAV file of the capture device: everything a stream played, in the stream's own format
// after the device volume, with a header that is valid after every append, so that a reader
// may look at the file while the device is still open.
//
// Each stream writes a file of its own: the path given, or a numbered sibling of it while
// earlier streams on the path still record (CCaptureNames decides which), so a stream that
// opens later never cuts the recording of one that is still playing.

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

    // Appends played bytes (whole frames). Called by the paced thread only; it does file
    // I/O, so it must never run inside a real-time callback.
    void Append(const uint8_t* bytes, size_t count);

private:
    CCaptureFile(std::string base, std::string path, std::FILE* file, const WAVE_FORMAT& format);
    bool WriteSizes();

    std::string m_base; // the path the stream was opened on
    std::string m_path; // the file it writes
    std::FILE* m_file;
    WAVE_FORMAT m_format;
    uint32_t m_dataBytes = 0;
};
