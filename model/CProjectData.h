#pragma once
// The song-wide properties: name, time lists, transposition, loop and build format.

#include "model/CBeats.h"
#include "model/CTempoList.h"
#include "model/CVolumeList.h"

#include <cstdint>
#include <string>

class CArchiveReader;
class CArchiveWriter;

class CProjectData {
public:
    std::string name;
    CVolumeList volumes;
    CTempoList tempos;
    int32_t transpose = 0; // semitones, -100..100
    CBeats beats;
    int32_t loopEnabled = 0;
    int32_t loopStart = 0; // tick
    int32_t loopEnd = 0;   // tick at which playback jumps back
    int32_t channels = 2;
    int32_t samplesPerSec = 44100;
    int32_t bitsPerSample = 16; // 8, 16, 24 integer; 32, 64 float
    int32_t startDummy = 1000;  // ms of silence before the song
    int32_t endDummy = 2000;    // ms of silence after it
    int32_t fadeOut = 0;        // ms
    int32_t fadeOutType = 0;    // 0 linear, 1 S-curve, 2 square law
    int32_t reductionPuchiNoise = 1;

    bool operator==(const CProjectData&) const;

    // The lists keep their invariants (see each list) — a file breaking them cannot be
    // played or converted safely.
    bool IsValid() const;
    // Mends the loop of a damaged file: loop ticks cannot make time undefined, so they are
    // no reason to refuse a song. A tick before the song is raised to 0, any switch value
    // but 0 means on, and a loop whose start is not before its end is switched off, as
    // measure edits leave it.
    void RepairLoop();

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar, uint32_t version);

private:
    void ReadLists(CArchiveReader& ar, uint32_t version);
};
