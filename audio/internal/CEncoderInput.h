#pragma once
// The WAV file an encoding reads, delivered as the interleaved 16-bit samples the encoder
// modules take. Every sample layout a build writes is converted: 8, 16, 24 and 32-bit
// integer and 32 and 64-bit float (also in an extensible format record), with rounding and
// clipping to 16 bits. Chunks before, between and after "fmt " and "data" are stepped
// over, and only the "data" chunk's bytes (as far as the file really holds them) are read.

#include "model/Result.h"
#include "model/WaveFormat.h"

#include <QIODevice>

#include <cstdint>
#include <memory>
#include <vector>

class CRiffReader;

class CEncoderInput {
public:
    CEncoderInput();
    ~CEncoderInput();
    CEncoderInput(const CEncoderInput&) = delete;
    CEncoderInput& operator=(const CEncoderInput&) = delete;

    // Reads the header from a device that stays open and in place while reading. Refuses
    // anything but PCM of the widths above with one or two channels.
    Result Open(QIODevice& in);

    const WAVE_FORMAT& Format() const { return m_format; }
    // Bytes of sample data to read in all.
    uint64_t DataBytes() const { return m_dataBytes; }
    // Bytes of sample data read so far.
    uint64_t BytesRead() const { return m_bytesRead; }

    // Reads up to `frames` frames into out (frames × channels samples). Returns the frames
    // delivered, 0 at the end of the data, -1 when the device fails.
    int64_t Read(int16_t* out, int64_t frames);

private:
    enum class Kind { U8, S16, S24, S32, F32, F64 };

    Result ReadFormat(uint32_t size);
    Result CheckFormat(uint16_t tag);
    void Convert(const uint8_t* in, size_t samples, int16_t* out) const;

    std::unique_ptr<CRiffReader> m_riff;
    WAVE_FORMAT m_format;
    Kind m_kind = Kind::S16;
    uint64_t m_dataBytes = 0;
    uint64_t m_bytesRead = 0;
    std::vector<uint8_t> m_raw;
};
