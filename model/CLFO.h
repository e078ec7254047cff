#pragma once
// Low-frequency oscillator: vibrato (pitch, depth in 1/256 semitone) or tremolo
// (amplitude, depth in 1/256 of full gain).

#include <cstdint>

class CArchiveReader;
class CArchiveWriter;

class CLFO {
public:
    int32_t waveform = 1; // 0 square, 1 triangle, 2 sawtooth, 3 sine
    int32_t invert = 0;
    int32_t delay = 0;  // ms after the note's start; negative counts from its end
    int32_t fade = 0;   // ms over which the depth grows from 0
    int32_t period = 0; // ms per cycle; 0 = off
    int32_t depth = 0;  // 0 = off

    bool operator==(const CLFO&) const = default;
    bool IsActive() const { return period != 0 && depth != 0; }

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar, uint32_t version);
};
