#pragma once
// Small pure functions shared by the voice: the basic waveforms, the level curves and the
// FM feedback factors. Phases are in cycles.

#include <bit>
#include <cmath>
#include <cstdint>

namespace voice {

inline constexpr double kTwoPi = 6.283185307179586476925286766559;

// fmod(x, 1): the part of x after its integer part, with the sign of x. Exact for every
// finite x, and much cheaper than fmod; fmod(k x, k) for k = 2 and 4 is k * Frac(x),
// also exactly.
inline double Frac(double x) {
    return x - std::trunc(x);
}

// Nearest integer of x (ties to even) for |x| < 2^51, without a library call.
inline double RoundNearest(double x) {
    constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52
    return (x + kShift) - kShift;
}

// sin(2 pi x) for x in cycles. The whole cycles are removed exactly first and the rest is
// folded onto a quarter cycle, so the result keeps its accuracy (about 1e-15) however large
// the phase grows up to 2^50 cycles (centuries of sound at any pitch). Past that the
// reduction is no longer exact, and such phases (or NaN, infinity), which only damaged
// settings produce, read as 0. No branch depends on the phase, which keeps FM feedback
// loops fast and lets loops over this function run on vectors.
inline double SinCycles(double x) {
    const double u = std::fabs(x) < 0x1p50 ? x - RoundNearest(x) : 0.0; // [-1/2, 1/2]
    const double a = std::fabs(u);
    const double b = 0.5 - a;
    const double v = std::copysign(a < b ? a : b, u); // sin(pi - y) = sin(y)
    // Taylor series of sin(2 pi v) in v, |2 pi v| <= pi/2, evaluated in parallel parts.
    constexpr double c0 = 6.28318530717958647703, c1 = -41.3417022403997602362,
                     c2 = 81.6052492760750542086, c3 = -76.7058597530613858542,
                     c4 = 42.0586939448976531546, c5 = -15.0946425768229903963,
                     c6 = 3.81995258484828212895, c7 = -0.718122301778500512527,
                     c8 = 0.104229162208139841221, c9 = -0.0120315859421206272386,
                     c10 = 0.00113092374825179618838;
    const double w = v * v;
    const double w2 = w * w;
    const double w4 = w2 * w2;
    const double low = (c0 + c1 * w) + (c2 + c3 * w) * w2;
    const double mid = (c4 + c5 * w) + (c6 + c7 * w) * w2;
    const double high = (c8 + c9 * w) + c10 * w2;
    return v * ((low + mid * w4) + high * (w4 * w4));
}

// 2^x to about 4e-16 relative, several times faster than the library's.
inline double Exp2(double x) {
    if (!(std::fabs(x) < 1000))
        return std::exp2(x);
    const double n = RoundNearest(x);
    const double f = x - n; // [-1/2, 1/2]
    // Taylor series of e^(f ln 2): coefficients ln2^k / k!.
    constexpr double d0 = 1.0, d1 = 0.693147180559945309417, d2 = 0.240226506959100712333,
                     d3 = 0.0555041086648215799532, d4 = 0.00961812910762847716197,
                     d5 = 0.00133335581464284434234, d6 = 0.000154035303933816099545,
                     d7 = 1.52527338040598402800e-05, d8 = 1.32154867901443094884e-06,
                     d9 = 1.01780860092396997540e-07, d10 = 7.05491162080112087744e-09,
                     d11 = 4.44553827187081007394e-10, d12 = 2.56784359934881958182e-11,
                     d13 = 1.36914888539041240648e-12;
    const double f2 = f * f;
    const double f4 = f2 * f2;
    const double f8 = f4 * f4;
    const double low = (d0 + d1 * f) + (d2 + d3 * f) * f2;
    const double mid = (d4 + d5 * f) + (d6 + d7 * f) * f2;
    const double high = (d8 + d9 * f) + (d10 + d11 * f) * f2;
    const double p = (low + mid * f4) + (high + (d12 + d13 * f) * f4) * f8;
    const auto exponent = static_cast<uint64_t>(static_cast<int64_t>(n) + 1023) << 52;
    return p * std::bit_cast<double>(exponent);
}

// Square wave: +1 while the cycle position is below `highPart` (0.5 + duty / 512).
inline double Square(double phase, double highPart) {
    return Frac(phase) < highPart ? 1.0 : -1.0;
}

// 0 -> 1 -> -1 -> 0 over one cycle.
inline double Triangle(double phase) {
    const double x = 4 * Frac(phase);
    if (x <= 1)
        return x;
    if (x <= 3)
        return 2 - x;
    return x - 4;
}

// Falls from 1 to -1 over one cycle.
inline double Sawtooth(double phase) {
    return 1 - 2 * Frac(phase);
}

inline double Sine(double phase) {
    return SinCycles(phase);
}

// Index of the noise table entry at a phase (one entry per cycle). The table is read
// cyclically in both directions, so a phase that runs backwards never leaves it.
inline int32_t NoiseIndex(double phase, int32_t tableSize) {
    const double whole = std::floor(phase);
    if (!(std::fabs(whole) < 0x1p62)) // NaN, infinity
        return 0;
    int64_t i = static_cast<int64_t>(whole) % tableSize;
    if (i < 0)
        i += tableSize;
    return static_cast<int32_t>(i);
}

// The shaping shared by envelopes and the fade-out: 0 linear, 1 S-curve, 2 square law.
// Other values leave the level unchanged.
inline double Curve(double e, int32_t curve) {
    switch (curve) {
    case 1:
        if (e < 0.5)
            return (Exp2(8 * e) - 1) / 15 * 0.5; // 16^(2e)
        return 1 - (Exp2(8 * (1 - e)) - 1) / 15 * 0.5;
    case 2:
        return e * e;
    default:
        return e;
    }
}

// Share of an FM operator's output fed back into its own phase, by `feedback` 0..7.
// Values outside the table (damaged files) mean no feedback.
inline double FeedbackFactor(int32_t feedback) {
    static constexpr double kFactors[8] = {0,        1.0 / 128, 1.0 / 64, 1.0 / 32,
                                           1.0 / 16, 1.0 / 8,   1.0 / 4,  1.0 / 2};
    if (feedback < 0 || feedback > 7)
        return 0;
    return kFactors[feedback];
}

// "Pseudo wave": n evenly spaced levels from -1 to 1 (n > 1).
inline double Quantize(double value, int32_t steps) {
    return std::trunc((value + 1) * steps * 0.5) / (steps - 1) * 2 - 1;
}

// Fade-out gain at song time t of a song lasting `lengthSeconds`: 1 until `fadeOutMs`
// before the end, then falling to 0 at the end, shaped like an envelope curve. No fade-out
// length (or a negative one from a damaged file) means no fade; past the end the gain
// stays 0.
inline double FadeGain(double t, double lengthSeconds, int32_t fadeOutMs, int32_t fadeOutType) {
    if (fadeOutMs <= 0)
        return 1;
    const double f = fadeOutMs;
    const double fadeStart = lengthSeconds * 1000 - f;
    if (t * 1000 < fadeStart)
        return 1;
    const double g = (f - (t * 1000 - fadeStart)) / f;
    return Curve(g > 0 ? g : 0, fadeOutType);
}

} // namespace voice
