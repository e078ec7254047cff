#pragma once
// An LFO's settings in the form the voice evaluates on every sample. Values: pitch LFO in
// semitones, amplitude LFO as a gain fraction.

#include "engine/internal/VoiceMath.h"

#include <array>
#include <cstdint>

class CLFO;

class CLfoShape {
public:
    // Where damaged values are held. The fade-in is offered up to 10 s. Pitch depths are
    // offered up to an octave; the phase catch-up sums vibratos twice as deep (either
    // sign) in closed form, and an amplitude LFO is harmless at any depth up to that.
    static constexpr int32_t kMaxFade = 10000;
    static constexpr int32_t kMaxDepth = 2 * 3072;

    CLfoShape() = default;
    // Values no dialog offers (damaged files) are held where the voice can render them at
    // a bounded cost.
    explicit CLfoShape(const CLFO& settings);

    // False when the value is 0 throughout: no period, no depth, or a waveform the LFO
    // does not know (damaged files).
    bool Active() const { return active; }
    // True for the waveforms whose value jumps somewhere in a cycle (square, sawtooth);
    // the triangle, whose formula starts over at whole cycles, is treated alike.
    bool HasSteps() const { return active && waveform != 3; }
    // True for the sine, the only waveform without corners or jumps.
    bool Smooth() const { return waveform == 3; }
    // Largest value in semitones, either sign.
    double Amplitude() const { return (depth < 0 ? -depth : depth) / 256; }
    // The period in whole milliseconds, 1 or more while the LFO is active.
    int64_t PeriodMs() const { return static_cast<int64_t>(period); }

    // The time the LFO compares with its delay: note-relative, or counted from the note's
    // end when the delay is negative.
    double X(double ms, double lengthMs) const { return negativeDelay ? ms - lengthMs : ms; }
    // Note time at which the LFO starts (it compares X with its delay).
    double OnsetMs(double lengthMs) const { return negativeDelay ? delay + lengthMs : delay; }
    // Note time at which its fade-in ends.
    double SteadyMs(double lengthMs) const { return OnsetMs(lengthMs) + fade; }
    // True once the LFO has started (its value may differ from 0 from here on).
    bool Running(double ms, double lengthMs) const { return active && X(ms, lengthMs) >= delay; }
    // True once the LFO has started and faded in: from here on its value repeats with
    // every period.
    bool Steady(double ms, double lengthMs) const {
        const double x = X(ms, lengthMs);
        return active && x >= delay && !(x < delay + fade);
    }
    // Cycles since the LFO started, as GetValue counts them.
    double Cycles(double ms, double lengthMs) const { return (X(ms, lengthMs) - delay) / period; }
    // The part of the cycle a time falls in, as far as the value's jumps are concerned:
    // two times with the same stretch lie between the same jumps.
    int64_t Stretch(double ms, double lengthMs) const;

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
        default:
            w = voice::Sine(c);
            break;
        }
        if (invert)
            w = -w;
        if (x < delay + fade)
            w = w * (x - delay) / fade;
        return depth * w / 256;
    }
    // Between the cycle counts quarter / 4 and (quarter + 1) / 4 a steady LFO's value is one
    // smooth function of the cycle count c (quarter >= 0, positive period): its value at c
    // and its first three derivatives per cycle. At the quarter's ends it takes the value
    // GetValue gives there, or on a jump the one from inside the quarter.
    std::array<double, 4> QuarterJet(int64_t quarter, double c) const;
    // Adds GetValue at the note times ms[0..n) to out[0..n), with the same arithmetic per
    // element, in loops the compiler can vectorise.
    void AddValues(const double* ms, int32_t n, double lengthMs, double* out) const;

private:
    template <class Wave>
    void AddWave(const double* ms, int32_t n, double lengthMs, double* out, Wave wave) const;

    bool active = false;
    bool negativeDelay = false;
    bool invert = false;
    int32_t waveform = 1;
    double delay = 0;  // ms
    double fade = 0;   // ms
    double period = 1; // ms
    double depth = 0;  // 1/256 units
};
