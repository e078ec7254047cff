#pragma once
// The range the program offers for every setting of a track and its sound sources, in one
// table: `tsq --convert` refuses a value outside it, and the readers of project files and
// of the "TSQ_TRACK", "TSQ_FM" and "TSQ_WAVEMEMORY" clipboard records bring such a value
// to the nearest one inside (Clamp), so nothing the program could not have made reaches
// the renderer. Names are the model's field names, which the JSON form of a song uses.

#include "model/CEnvelope.h"
#include "model/CFM.h"
#include "model/CFMOperator.h"
#include "model/CLFO.h"
#include "model/CPCM.h"
#include "model/CTrackData.h"
#include "model/CWaveMemory.h"

#include <array>
#include <cstdint>
#include <limits>

namespace soundranges {

struct VALUE_RANGE {
    int32_t lo;
    int32_t hi;

    constexpr bool Contains(int64_t v) const { return v >= lo && v <= hi; }
    constexpr int32_t Clamp(int32_t v) const { return v < lo ? lo : v > hi ? hi : v; }
};

// One integer field of record R with its range.
template <class R> struct FIELD {
    const char* name;
    int32_t R::*member;
    VALUE_RANGE range;
};

inline constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
inline constexpr int32_t kMaxTime = 10000; // ms, envelope and LFO times

// The track's own fields (not its name or note colour).
inline constexpr std::array<FIELD<CTrackData>, 9> kTrackFields{{
    {"useNoteColor", &CTrackData::useNoteColor, {0, 1}},
    {"waveform", &CTrackData::waveform, {0, 7}},
    {"invert", &CTrackData::invert, {0, 1}},
    {"pseudoWave", &CTrackData::pseudoWave, {0, 256}},
    {"duty", &CTrackData::duty, {-256, 256}},
    {"volume", &CTrackData::volume, {0, 1023}},
    {"pan", &CTrackData::pan, {-255, 255}},
    {"detune", &CTrackData::detune, {-256, 256}},
    {"mute", &CTrackData::mute, {0, 1}},
}};

inline constexpr std::array<FIELD<CEnvelope>, 10> kEnvelopeFields{{
    {"curve", &CEnvelope::curve, {0, 2}},
    {"delay", &CEnvelope::delay, {-kMaxTime, kMaxTime}},
    {"attack", &CEnvelope::attack, {0, kMaxTime}},
    {"decay", &CEnvelope::decay, {0, kMaxTime}},
    {"sustain", &CEnvelope::sustain, {-1, 100000}},
    {"release", &CEnvelope::release, {-1, kMaxTime}},
    {"attackLevel", &CEnvelope::attackLevel, {0, 255}},
    {"sustainLevel", &CEnvelope::sustainLevel, {0, 255}},
    {"level", &CEnvelope::level, {0, 255}},
    {"keyScaling", &CEnvelope::keyScaling, {0, 16}},
}};

// Every LFO field but the depth, whose range depends on what the LFO modulates.
inline constexpr std::array<FIELD<CLFO>, 5> kLfoFields{{
    {"waveform", &CLFO::waveform, {0, 3}},
    {"invert", &CLFO::invert, {0, 1}},
    {"delay", &CLFO::delay, {-kMaxTime, kMaxTime}},
    {"fade", &CLFO::fade, {0, kMaxTime}},
    {"period", &CLFO::period, {0, kMaxTime}},
}};
inline constexpr VALUE_RANGE kPitchDepth{0, 3072}; // 1/256 semitone: one octave
inline constexpr VALUE_RANGE kAmpDepth{0, 255};    // 1/256 of full gain

inline constexpr std::array<FIELD<CPCM>, 5> kPcmFields{{
    {"baseKey", &CPCM::baseKey, {0, 95}},
    {"loopStart", &CPCM::loopStart, {0, kIntMax}},
    {"loopEnd", &CPCM::loopEnd, {0, kIntMax}},
    {"loopCount", &CPCM::loopCount, {0, kIntMax}},
    {"loopUnit", &CPCM::loopUnit, {0, 1}},
}};

// A wave table's height and sample count; each sample lies in -height/2..height/2.
inline constexpr VALUE_RANGE kWaveHeight{2, 0x10000};
inline constexpr VALUE_RANGE kWaveSamples{1, 0x10000};

inline constexpr VALUE_RANGE kAlgorithm{0, 7};
inline constexpr std::array<FIELD<CFMOperator>, 2> kOperatorFields{{
    {"feedback", &CFMOperator::feedback, {0, 7}},
    {"detune", &CFMOperator::detune, {-256, 256}},
}};
inline constexpr double kMultipleMin = 0.0;
inline constexpr double kMultipleMax = 16.0;

// Bring every field of a record (and of the records it holds) into its range.
void Clamp(CEnvelope& envelope);
void Clamp(CLFO& lfo, VALUE_RANGE depth);
void Clamp(CPCM& pcm);
void Clamp(CWaveMemory& wave);
void Clamp(CFMOperator& op);
void Clamp(CFM& fm);
void Clamp(CTrackData& settings);

} // namespace soundranges
