#pragma once
// An LFO's settings in the form the voice evaluates on every sample. Values: pitch LFO in
// semitones, amplitude LFO as a gain fraction.

#include "engine/internal/VoiceMath.h"

#include <cstdint>

class CLFO;

class CLfoShape {
public:
    CLfoShape() = default;
    explicit CLfoShape(const CLFO& lfo);

    bool Active() const { return active; }

    // The time the LFO compares with its delay: note-relative, or counted from the note's
    // end when the delay is negative.
    double X(double ms, double lengthMs) const { return negativeDelay ? ms - lengthMs : ms; }
    // Note time at which the LFO starts (it compares X with its delay).
    double OnsetMs(double lengthMs) const { return negativeDelay ? delay + lengthMs : delay; }
    // True once the LFO has started (its value may differ from 0 from here on).
    bool Running(double ms, double lengthMs) const { return active && X(ms, lengthMs) >= delay; }
    // Value at note time `ms` of a note lasting `lengthMs`.
    double GetValue(double ms, double lengthMs) const {
        if (!active)
            return 0;
        const double x = X(ms, lengthMs);
        if (x < delay)
            return 0;
        const double c = (x - delay) / period;
        double w;
        switch (waveform) {
        case 0:
            w = voice::Frac(c) < 0.5 ? 1.0 : -1.0;
            break;
        case 1:
            w = voice::Triangle(c);
            break;
        case 2:
            w = voice::Sawtooth(c);
            break;
        case 3:
            w = voice::Sine(c);
            break;
        default:
            return 0;
        }
        if (invert)
            w = -w;
        if (x < delay + fade)
            w = w * (x - delay) / fade;
        return depth * w / 256;
    }

private:
    bool active = false;
    bool negativeDelay = false;
    bool invert = false;
    int32_t waveform = 1;
    double delay = 0;  // ms
    double fade = 0;   // ms
    double period = 1; // ms
    double depth = 0;  // 1/256 units
};
