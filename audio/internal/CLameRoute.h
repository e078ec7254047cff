#pragma once
// An encoding through liblame_enc.so: the WAV file is read here, converted to 16-bit
// samples whatever width the build wrote, and fed to the module chunk by chunk; the MP3
// bytes it returns are written here, and the module finally writes the info tag.
//
// Thread: the encoder's worker.

#include "audio/internal/CEncodeProgress.h"
#include "model/Result.h"
#include "modules/api/lame_enc.h"

#include <QString>

struct LAME_ENTRY_POINTS {
    BEINITSTREAM initStream = nullptr;
    BEENCODECHUNK encodeChunk = nullptr;
    BEDEINITSTREAM deinitStream = nullptr;
    BECLOSESTREAM closeStream = nullptr;
    BEVERSION version = nullptr;
    BEWRITEVBRHEADER writeVBRHeader = nullptr;
    BEWRITEINFOTAG writeInfoTag = nullptr; // optional: the VBR header call stands in

    // The calls an encoding makes.
    bool Complete() const { return initStream && encodeChunk && deinitStream && closeStream; }
};

class CLameRoute {
public:
    explicit CLameRoute(const LAME_ENTRY_POINTS& entry) : m_entry(entry) {}

    // The configuration record for a stream of the given rate and channel count: mono
    // (mode 3) for one channel, stereo (mode 0) otherwise, VBR from bitRate up, no bit
    // reservoir.
    static BE_CONFIG MakeConfig(uint32_t samplesPerSec, int channels, int bitRate);

    // Encodes wav into mp3 (created, or emptied when it exists). A cancel stops after the
    // current chunk and leaves what was written so far.
    Result Run(const QString& wav, const QString& mp3, int bitRate, CEncodeProgress& progress);

private:
    const LAME_ENTRY_POINTS& m_entry;
};
