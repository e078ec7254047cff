#pragma once
// A volume envelope applied to one note: the envelope's times scaled by the key, with the
// note's length and key-off, ready to be evaluated on every sample.

#include "engine/internal/VoiceMath.h"

#include <algorithm>
#include <cstdint>

class CEnvelope;
class CNoteTimes;

class CEnvelopeShape {
public:
    CEnvelopeShape() = default;
    CEnvelopeShape(const CEnvelope& envelope, int32_t transpose, int32_t key,
                   const CNoteTimes& times);

    // The factor by which key scaling multiplies every envelope time. Higher keys shorten
    // the times; a factor that would reach 0 or below (a high transposition with strong
    // scaling) is held at 0, so every time becomes 0 instead of negative.
    static double KeyFactor(const CEnvelope& envelope, int32_t transpose, int32_t key);

    // Level 0..1 (more only for an overall level above 255) at note time `ms`.
    double GetLevel(double ms) const {
        const double x = negativeDelay ? ms - lengthMs : ms;
        double e;
        if (x > keyOffMs) {
            if (release < 0)
                e = releaseStart;
            else if (releaseTime == 0)
                e = 0;
            else
                e = std::max(releaseStart - (x - keyOffMs) * releaseStart / releaseTime, 0.0);
        } else {
            e = Ads(x);
        }
        return voice::Curve(e * levelFactor, curve);
    }
    // True when GetLevel gives one value, returned in `level`, for every note time in
    // [msFirst, msLast]: on flat stretches (before the delay, holding the sustain, after a
    // key-off without release or with an instant one).
    bool ConstantOver(double msFirst, double msLast, double& level) const;
    // Seconds the sound lasts after key-off (used by the click-noise reduction).
    double GetReleaseTime() const;
    // Level before key-off at envelope time y, before the overall level and the curve.
    double Ads(double y) const {
        double e;
        if (y < delay)
            return 0;
        if (y < delay + attack)
            e = (y - delay) * (1 - attackLevel) / attack + attackLevel;
        else if (y < delay + attack + decay)
            e = 1 - ((y - delay - attack) / decay) * (1 - sustainLevel);
        else if (sustain > 0 && sustainTime > 0)
            e = sustainLevel - (y - delay - attack - decay) * sustainLevel / sustainTime;
        else if (sustain >= 0)
            e = 0; // silence after the decay, also when key scaling shrank the sustain to 0
        else
            e = sustainLevel;
        return e > 0 ? e : 0;
    }

private:
    double delay = 0;       // scaled, ms
    double attack = 0;      // scaled, ms
    double decay = 0;       // scaled, ms
    double sustainTime = 0; // scaled, ms
    double releaseTime = 0; // scaled, ms
    double attackLevel = 0; // 0..1
    double sustainLevel = 1;
    double levelFactor = 1;  // overall level on the 96 dB scale
    double releaseStart = 0; // Ads(keyOffMs)
    double lengthMs = 0;
    double noteSeconds = 0; // noteEnd - noteStart
    double keyOffMs = 0;
    int32_t sustain = -1; // unscaled, for its sign
    int32_t release = 0;  // unscaled, for its sign
    int32_t curve = 0;
    bool negativeDelay = false;
};
