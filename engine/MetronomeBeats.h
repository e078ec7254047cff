#pragma once
// Where the metronome clicks: every beat of the song as a frame of the rendered sound,
// following the beat list (a click per beat of each measure's signature, the first beat of
// a measure accented) and the tempo list.

#include "model/CBeats.h"
#include "model/CTempoList.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct METRONOME_BEAT {
    uint64_t frame = 0;  // frame 0 is tick 0 of the song
    bool accent = false; // the first beat of a measure
    bool operator==(const METRONOME_BEAT&) const = default;
};

// A damaged beat list can ask for a click on every tick of a long song: the list stops
// here (some 145 hours of quarter notes at 120 BPM).
inline constexpr size_t kMaxMetronomeBeats = size_t{1} << 20;

// The beats that start before endTick, in order. A beat lands on the first frame that
// renders its tick (the frame a note starting there begins on). Empty for a rate of 0.
std::vector<METRONOME_BEAT> MetronomeBeats(const CTempoList& tempos, const CBeats& beats,
                                           int32_t endTick, uint32_t sampleRate);
