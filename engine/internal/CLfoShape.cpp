#include "engine/internal/CLfoShape.h"

#include "model/CLFO.h"

#include <algorithm>
#include <cmath>

namespace {

// Damaged files can carry any value. A fade-in of days is summed frame by frame and a
// negative period keeps the phase catch-up from its shortcuts, so a late second would cost
// every frame since the note's start; a depth of thousands of octaves overflows the pitch.
// The fade-in and the depth are held at the ends of their ranges (a negative fade-in means
// none, as before); a negative period switches the LFO off, as a period of 0 does.
CLFO InRange(CLFO lfo) {
    lfo.fade = std::clamp(lfo.fade, 0, CLfoShape::kMaxFade);
    lfo.period = std::max(lfo.period, 0);
    lfo.depth = std::clamp(lfo.depth, -CLfoShape::kMaxDepth, CLfoShape::kMaxDepth);
    return lfo;
}

} // namespace

CLfoShape::CLfoShape(const CLFO& settings) {
    const CLFO lfo = InRange(settings);
    active = lfo.period != 0 && lfo.depth != 0 && lfo.waveform >= 0 && lfo.waveform <= 3;
    negativeDelay = lfo.delay < 0;
    invert = lfo.invert != 0;
    waveform = lfo.waveform;
    delay = lfo.delay;
    fade = lfo.fade;
    period = lfo.period;
    depth = lfo.depth;
}

int64_t CLfoShape::Stretch(double ms, double lengthMs) const {
    const double c = Cycles(ms, lengthMs);
    if (!(std::fabs(c) < 0x1p60))
        return 0;
    const auto whole = static_cast<int64_t>(std::trunc(c));
    return 2 * whole + (waveform == 0 && !(voice::Frac(c) < 0.5) ? 1 : 0);
}

std::array<double, 4> CLfoShape::QuarterJet(int64_t quarter, double c) const {
    const double f = c - double(quarter / 4);
    const double scale = (invert ? -depth : depth) / 256;
    switch (waveform) {
    case 0:
        return {quarter % 4 < 2 ? scale : -scale, 0, 0, 0};
    case 1:
        if (quarter % 4 == 0)
            return {scale * 4 * f, scale * 4, 0, 0};
        if (quarter % 4 == 3)
            return {scale * (4 * f - 4), scale * 4, 0, 0};
        return {scale * (2 - 4 * f), -scale * 4, 0, 0};
    case 2:
        return {scale * (1 - 2 * f), -scale * 2, 0, 0};
    default: {
        constexpr double w = voice::kTwoPi;
        const double s = voice::SinCycles(f);
        const double k = voice::SinCycles(f + 0.25);
        return {scale * s, scale * w * k, -scale * w * w * s, -scale * w * w * w * k};
    }
    }
}

// Each element's arithmetic is GetValue's, written without branches on the element so
// that the loop runs on vectors.
template <class Wave>
void CLfoShape::AddWave(const double* ms, int32_t n, double lengthMs, double* out,
                        Wave wave) const {
    // Locals, not members: `out` could alias a member, which would keep the compiler from
    // holding them in registers and from vectorising. ms - 0 is ms exactly.
    const double shift = negativeDelay ? lengthMs : 0;
    const double sign = invert ? -1.0 : 1.0;
    const double start = delay;
    const double fadeEnd = delay + fade;
    const double fadeMs = fade;
    const double cycleMs = period;
    const double peak = depth;
    for (int32_t j = 0; j < n; ++j) {
        const double x = ms[j] - shift;
        const double w = wave((x - start) / cycleMs) * sign;
        const double faded = w * (x - start) / fadeMs;
        const double value = peak * (x < fadeEnd ? faded : w) / 256;
        out[j] += x < start ? 0.0 : value;
    }
}

void CLfoShape::AddValues(const double* ms, int32_t n, double lengthMs, double* out) const {
    if (!active)
        return;
    switch (waveform) {
    case 0:
        AddWave(ms, n, lengthMs, out, [](double c) { return voice::Frac(c) < 0.5 ? 1.0 : -1.0; });
        break;
    case 1:
        AddWave(ms, n, lengthMs, out, [](double c) { return voice::Triangle(c); });
        break;
    case 2:
        AddWave(ms, n, lengthMs, out, [](double c) { return voice::Sawtooth(c); });
        break;
    default:
        AddWave(ms, n, lengthMs, out, [](double c) { return voice::Sine(c); });
        break;
    }
}
