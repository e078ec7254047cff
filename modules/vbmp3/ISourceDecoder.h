#pragma once
// A sound file opened for decoding into the PCM layout the editor's PCM voice plays.

#include <cstdint>
#include <memory>
#include <string>

struct SOURCE_FORMAT {
    uint16_t formatTag = 1; // 1 integer PCM, 3 float
    uint16_t channels = 0;  // of the output: 1 or 2
    uint32_t rate = 0;
    uint16_t bits = 0;   // of the output: 8 (unsigned), 16, 24, 32 or 64 (float)
    int64_t frames = -1; // -1 when unknown
    bool isMpeg = false; // decoded by libmpg123

    uint32_t FrameBytes() const { return uint32_t(channels) * bits / 8; }
};

class ISourceDecoder {
public:
    virtual ~ISourceDecoder() = default;
    virtual const SOURCE_FORMAT& Format() const = 0;
    // Decodes up to `frames` frames into out (frames × FrameBytes bytes). Returns the
    // frames written, 0 at the end, -1 on a decoding error.
    virtual int64_t Read(uint8_t* out, int64_t frames) = 0;
};

// libsndfile for what it reads (except MPEG), libmpg123 for MPEG audio. Null when neither
// can decode the file, or its layout cannot be written as a WAV file.
std::unique_ptr<ISourceDecoder> OpenSource(const std::string& path);
