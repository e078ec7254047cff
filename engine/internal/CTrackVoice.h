#pragma once
// What the voice needs of a track and of the song, converted once: a render builds one per
// track, the single-note cache one per note. Holds views of the track's wave table and
// sample, so the track must stay unchanged while it is used.

#include "engine/internal/CLfoShape.h"
#include "engine/internal/CPcmVoice.h"
#include "model/CEnvelope.h"

#include <array>
#include <cstdint>

class CTrackData;
class CProjectData;

struct FM_OPERATOR_VOICE {
    bool on = false;       // a level of 0 switches the operator off
    bool feedback = false; // feeds its output back into its own phase
    double feedbackFactor = 0;
    double detunePhase = 1;   // 2^(detune / 3072): the detune also scales the phase
    double levelFraction = 0; // level / 255
    double multiple = 1;
    double detuneSemitones = 0; // (operator detune + track detune) / 256
    CLfoShape pitchLfo;
    CLfoShape ampLfo;
    CEnvelope envelope;
};

class CTrackVoice {
public:
    static constexpr int32_t kMaxPan = 255;

    CTrackVoice() = default;
    CTrackVoice(const CTrackData& settings, const CProjectData& song);

    int32_t waveform = 0;
    bool invert = false;
    int32_t pseudoWave = 0;
    double squareHighPart = 0.5; // 0.5 + duty / 512
    double gain = 0;             // volume / 255
    // Held within -255..255: the mix attenuates a channel by 256 minus the pan's size,
    // which a damaged pan would turn negative or overflow.
    int32_t pan = 0;
    double detuneSemitones = 0; // detune / 256
    int32_t transpose = 0;
    double rate = 0; // the song's sample rate, the grid of the phase catch-up
    bool clickReduction = true;
    CEnvelope envelope;
    CLfoShape pitchLfo;
    CLfoShape ampLfo;
    CPcmVoice pcm;
    const int32_t* waveSamples = nullptr;
    int32_t waveCount = 0;
    int32_t waveDivisor = 0; // height / 2; the table is silent when it is 0 or less
    int32_t algorithm = 0;
    std::array<FM_OPERATOR_VOICE, 4> operators;
};
