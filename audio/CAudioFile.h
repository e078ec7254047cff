#pragma once
// Turns the sound file of a PCM track into raw sample bytes and their 18-byte format record.
// WAV files are read by the strict reader. Files it refuses belong to the decoder module's
// route; while no decoder module is loaded (IsMp3Available false) the strict reader's answer
// is final.
//
// Each user makes its own short-lived instance on the user-interface thread.

#include "model/ISampleLoader.h"
#include "model/Result.h"
#include "model/WaveFormat.h"

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <vector>

class CAudioFile : public ISampleLoader {
public:
    CAudioFile() = default;
    ~CAudioFile() override = default;
    CAudioFile(const CAudioFile&) = delete;
    CAudioFile& operator=(const CAudioFile&) = delete;

    // Whether a decoder module is loaded for files other than plain WAV.
    bool IsMp3Available() const { return false; }

    // The strict WAV reader: "RIFF", "WAVE", then a "fmt " chunk directly followed by a
    // "data" chunk and nothing else before them. The format record takes the first 18 bytes
    // of "fmt " (missing ones zero; a longer chunk is stepped over whole). data receives the
    // "data" chunk's bytes as stored. Fails for any other layout, a chunk that runs past the
    // end of the file, or a format with no channels, rate or block alignment. On failure
    // format and data are left empty.
    static Result ReadWave(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data);
    static Result ReadWave(QIODevice& in, WAVE_FORMAT& format, std::vector<uint8_t>& data);

    // The sample of a PCM track: the strict reader, then the decoder route when available.
    Result Load(const QString& path, WAVE_FORMAT& format, std::vector<uint8_t>& data);

    // ISampleLoader: Load with a UTF-8 path.
    bool LoadSample(const std::string& path, std::vector<uint8_t>& data,
                    WAVE_FORMAT& format) override;
};
