#pragma once
// Everything about a track except its notes. A track carries the settings of every source
// kind at once; `waveform` picks the one that sounds, so switching kinds loses nothing.

#include "model/CEnvelope.h"
#include "model/CFM.h"
#include "model/CLFO.h"
#include "model/CPCM.h"
#include "model/CWaveMemory.h"

#include <cstdint>
#include <string>

class CArchiveReader;
class CArchiveWriter;

enum Waveform : int32_t {
    kSquare = 0,
    kTriangle = 1,
    kSawtooth = 2,
    kSine = 3,
    kNoise = 4,
    kPcm = 5,
    kWaveMemory = 6,
    kFm = 7,
};

class CTrackData {
public:
    std::string name;
    int32_t useNoteColor = 0;
    uint32_t noteColor = DefaultNoteColor(); // 0x00BBGGRR
    int32_t waveform = kSquare;
    int32_t invert = 0;
    int32_t pseudoWave = 0; // amplitude steps, 0 and 1 = off
    int32_t duty = 0;       // -256..256, high part = 0.5 + duty/512 of a period
    int32_t volume = 128;   // 0..1023, gain volume/255
    int32_t pan = 0;        // -255..255, positive attenuates the left channel
    int32_t detune = 0;     // 1/256 semitone
    CPCM pcm;
    CWaveMemory waveMemory;
    CFM fm;
    CEnvelope envelope;
    CLFO pitchLFO;
    CLFO ampLFO;
    int32_t mute = 0;

    // Compares every stored field (not a loaded sample).
    bool operator==(const CTrackData& other) const;

    // The application's note colour, given to new tracks and to tracks from files that
    // predate per-track colours.
    static uint32_t DefaultNoteColor();
    static void SetDefaultNoteColor(uint32_t color);

    void Serialize(CArchiveWriter& ar) const;
    // Reads a stored record; values outside the ranges the program offers are brought to
    // the nearest one inside (SoundRanges.h).
    void Serialize(CArchiveReader& ar, uint32_t version);
};
