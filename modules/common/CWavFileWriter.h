#pragma once
// Writes a plain PCM WAV file as a stream: "RIFF", "WAVE", a 16-byte "fmt " chunk and the
// "data" chunk, nothing else, so the editor's strict reader takes it. The sizes are filled
// in by Finish; a writer destroyed before Finish removes its file.

#include "model/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>

class CWavFileWriter {
public:
    // Bytes the data may hold so that the RIFF size and a pad byte still fit 32 bits.
    static constexpr uint64_t kMaxData = 0xFFFFFFFFull - 36 - 1;

    // Creates a new file (an existing file or link of that name makes it fail).
    // formatTag: 1 integer PCM, 3 float. Null on failure.
    static std::unique_ptr<CWavFileWriter> Create(const std::string& path, uint16_t formatTag,
                                                  uint16_t channels, uint32_t rate, uint16_t bits);
    ~CWavFileWriter();
    CWavFileWriter(const CWavFileWriter&) = delete;
    CWavFileWriter& operator=(const CWavFileWriter&) = delete;

    // False when writing fails or the data would outgrow kMaxData.
    bool Append(const uint8_t* bytes, size_t count);
    // Fills in the sizes and closes the file; false (and the file removed) on failure.
    bool Finish();

private:
    CWavFileWriter(int fd, std::string path, const WAVE_FORMAT& format);
    bool WriteAll(const uint8_t* bytes, size_t count);
    void Discard();

    int m_fd;
    std::string m_path;
    WAVE_FORMAT m_format;
    uint64_t m_dataBytes = 0;
    bool m_finished = false;
};
