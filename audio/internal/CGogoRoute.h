#pragma once
// An encoding through libgogo.so: the module reads the WAV file and writes the MP3 file
// itself, one frame per call, and reports how many frames there are.
//
// Thread: the encoder's worker.

#include "audio/internal/CEncodeProgress.h"
#include "model/Result.h"
#include "modules/api/gogo.h"

#include <QString>

struct GOGO_ENTRY_POINTS {
    MPGE_INITIALIZEWORK initializeWork = nullptr;
    MPGE_SETCONFIGURE setConfigure = nullptr;
    MPGE_GETCONFIGURE getConfigure = nullptr;
    MPGE_DETECTCONFIGURE detectConfigure = nullptr;
    MPGE_PROCESSFRAME processFrame = nullptr;
    MPGE_CLOSECODER closeCoder = nullptr;
    MPGE_ENDCODER endCoder = nullptr;
    MPGE_GETUNITSTATES getUnitStates = nullptr;
    MPGE_GETVERSION getVersion = nullptr;

    // The calls an encoding makes (the last two are never called).
    bool Complete() const {
        return initializeWork && setConfigure && getConfigure && detectConfigure && processFrame &&
               closeCoder && endCoder;
    }
};

class CGogoRoute {
public:
    explicit CGogoRoute(const GOGO_ENTRY_POINTS& entry) : m_entry(entry) {}

    // Encodes wav into mp3 at bitRate kbit/s. The progress is frame i of N before frame i
    // is processed, so it reaches (N − 1) / N at most; a cancel stops after the current
    // frame and the coder still closes, leaving a shorter MP3 file.
    Result Run(const QString& wav, const QString& mp3, int bitRate, CEncodeProgress& progress);

private:
    const GOGO_ENTRY_POINTS& m_entry;
};
