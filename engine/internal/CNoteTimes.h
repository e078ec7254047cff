#pragma once
// A note's times in song seconds, read once through the tempo list. The voice needs them
// on every sample; deriving them there would cost a tempo-list walk each time.

#include <cstdint>

class CNote;
class CTempoList;

class CNoteTimes {
public:
    CNoteTimes() = default;
    CNoteTimes(const CNote& note, const CTempoList& tempos);

    double noteStart = 0;  // s
    double noteEnd = 0;    // s
    double lengthMs = 0;   // (noteEnd - noteStart) * 1000
    double keyOffMs = 0;   // ms from the note's start to its key-off
    bool glide = false;    // portamento length and level both non-zero
    double glideStart = 0; // s
    double glideEnd = 0;   // s
    double glideLevel = 0; // 1/256 semitone
    // False when a tempo-derived time is not finite; such a note is silent.
    bool valid = false;

    // Note-relative time in milliseconds.
    double Ms(double t) const { return (t - noteStart) * 1000; }

    // Portamento bend in semitones at t: 0 before the glide, rising linearly to the level.
    double Bend(double t) const {
        if (!glide || t < glideStart)
            return 0;
        if (t >= glideEnd)
            return glideLevel / 256;
        return (t - glideStart) * glideLevel / (glideEnd - glideStart) / 256;
    }
};
