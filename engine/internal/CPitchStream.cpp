#include "engine/internal/CPitchStream.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr double kLn2 = 0.693147180559945309417;

// Least common multiple of two frame counts; 0 (no usable multiple) when either is 0 or
// the result would pass `limit`.
int64_t LeastCommonMultiple(int64_t a, int64_t b, int64_t limit) {
    if (a == 0 || b == 0)
        return 0;
    const int64_t step = a / std::gcd(a, b);
    return step <= limit / b ? step * b : 0;
}

// 1 + r + ... + r^(count - 1) for r = 2^octaves, without the loss of 1 + tiny.
double GeometricSum(double octaves, int64_t count) {
    if (octaves == 0)
        return double(count);
    return std::expm1(double(count) * octaves * kLn2) / std::expm1(octaves * kLn2);
}

// The first frame in [lo, kMaxFrame] at which a monotone predicate holds, searched from a
// guess that is usually exact; INT64_MAX when it never holds.
template <class Pred> int64_t FirstFrameWhere(Pred holds, double guess, int64_t lo) {
    constexpr int64_t hi = CPitchStream::kMaxFrame;
    int64_t g = lo;
    if (guess > double(lo))
        g = guess < double(hi) ? static_cast<int64_t>(guess) : hi;
    int64_t bad, good;
    if (holds(g)) {
        good = g;
        bad = lo - 1;
        for (int64_t step = 1; good > lo; step *= 2) {
            const int64_t c = std::max(lo, good - step);
            if (!holds(c)) {
                bad = c;
                break;
            }
            good = c;
        }
    } else {
        bad = g;
        good = INT64_MAX;
        for (int64_t step = 1; bad < hi; step *= 2) {
            const int64_t c = std::min(hi, bad + step);
            if (holds(c)) {
                good = c;
                break;
            }
            bad = c;
        }
        if (good == INT64_MAX)
            return INT64_MAX;
    }
    while (good - bad > 1) {
        const int64_t mid = bad + (good - bad) / 2;
        if (holds(mid))
            good = mid;
        else
            bad = mid;
    }
    return good;
}

} // namespace

CPitchStream::CPitchStream(const CNoteTimes* times, const CLfoShape* lfoA, const CLfoShape* lfoB,
                           double rate)
    : times(times), lfoA(lfoA != nullptr && lfoA->Active() ? lfoA : nullptr),
      lfoB(lfoB != nullptr && lfoB->Active() ? lfoB : nullptr), rate(rate) {
    const double first = std::ceil(rate * times->noteStart);
    valid = times->valid && rate >= 1 && first >= 0 && first < double(kMaxFrame);
    if (!valid)
        return;
    firstFrame = static_cast<int64_t>(first);
    if (times->glide) {
        glideBegin = FirstGlideFrame(times->glideStart);
        glideDone = FirstGlideFrame(times->glideEnd);
    }
    lfos = {LfoTimes(this->lfoA), LfoTimes(this->lfoB)};
}

void CPitchStream::Factors(const double* t, const double* ms, int32_t n, double* out) const {
    double e[kBatch];
    std::fill(e, e + n, 0.0);
    if (lfoA != nullptr)
        lfoA->AddValues(ms, n, times->lengthMs, e);
    if (lfoB != nullptr)
        lfoB->AddValues(ms, n, times->lengthMs, e);
    if (times->glide)
        for (int32_t j = 0; j < n; ++j)
            e[j] += times->Bend(t[j]);
    for (int32_t j = 0; j < n; ++j)
        out[j] = e[j] == 0 ? 1 : voice::Exp2(e[j] / 12);
}

int64_t CPitchStream::FirstGlideFrame(double time) const {
    return FirstFrameWhere([&](int64_t i) { return FrameTime(i) >= time; }, std::ceil(time * rate),
                           firstFrame);
}

CPitchStream::LFO_TIMES CPitchStream::LfoTimes(const CLfoShape* lfo) const {
    LFO_TIMES l;
    if (lfo == nullptr)
        return l;
    const double lengthMs = times->lengthMs;
    const auto guess = [&](double ms) { return std::ceil((times->noteStart + ms / 1000) * rate); };
    l.lfo = lfo;
    l.onset = FirstFrameWhere([&](int64_t i) { return lfo->Running(FrameMs(i), lengthMs); },
                              guess(lfo->OnsetMs(lengthMs)), firstFrame);
    l.steady = FirstFrameWhere([&](int64_t i) { return lfo->Steady(FrameMs(i), lengthMs); },
                               guess(lfo->SteadyMs(lengthMs)), firstFrame);
    l.block = BlockFrames(*lfo);
    return l;
}

// Frame i lies at ms_i = (i / rate - noteStart) * 1000, so L frames later the LFO is
// L * 1000 / rate ms further on: the same point of its cycle once that is a whole number
// of periods. The least such L is period * rate / gcd(period * rate, 1000), at most 1000
// periods (10 at 44100 Hz, 1 at 48000 Hz).
int64_t CPitchStream::BlockFrames(const CLfoShape& lfo) const {
    if (!(rate <= 0x1p31 && rate == std::floor(rate)))
        return 0;
    const int64_t periodRate = lfo.PeriodMs() * static_cast<int64_t>(rate);
    const int64_t block = periodRate / std::gcd(periodRate, int64_t{1000});
    return block <= kMaxBlock ? block : 0;
}

int64_t CPitchStream::StopFrame(double ms) const {
    const double guess = std::ceil((times->noteStart + ms / 1000) * rate);
    const int64_t n =
        FirstFrameWhere([&](int64_t i) { return FrameMs(i) >= ms; }, guess, firstFrame);
    return std::min(n, kMaxFrame);
}

CPitchStream::PIECE CPitchStream::PieceAt(int64_t frame) const {
    PIECE piece;
    const auto bound = [&](int64_t b) {
        if (b > frame && b < piece.end)
            piece.end = b;
    };
    bool fading = false;
    bool periodic = false;
    for (const LFO_TIMES& l : lfos) {
        if (l.lfo == nullptr)
            continue;
        bound(l.onset);
        bound(l.steady);
        if (frame < l.onset)
            continue;
        if (frame < l.steady) {
            fading = true;
            continue;
        }
        periodic = true;
        piece.steadyLfos[size_t(piece.steady++)] = l.lfo;
        piece.block = LeastCommonMultiple(piece.block, l.block, kMaxBlock);
        if (l.lfo->HasSteps())
            piece.steppedLfos[size_t(piece.stepped++)] = l.lfo;
    }
    bound(glideBegin);
    bound(glideDone);
    const bool gliding = frame >= glideBegin && frame < glideDone;
    if (fading) {
        piece.kind = Kind::Frames;
    } else if (periodic || gliding) {
        piece.kind = Kind::Periodic;
        if (gliding) {
            // The bend rises linearly with time: by the same number of octaves per block.
            const double perSecond =
                times->glideLevel / (times->glideEnd - times->glideStart) / 256;
            piece.glideSlope = perSecond;
            piece.blockOctaves = perSecond / rate * double(piece.block) / 12;
        }
    }
    return piece;
}

CATCH_UP_POINT CPitchStream::SumTo(int64_t n) const {
    CATCH_UP_POINT p = Start();
    while (p.frame < n) {
        const PIECE piece = PieceAt(p.frame + 1);
        const int64_t last = std::min(piece.end - 1, n);
        switch (piece.kind) {
        case Kind::Constant:
            SumConstant(p, last);
            break;
        case Kind::Periodic:
            SumPeriodic(p, last, piece);
            break;
        case Kind::Frames:
            SumFrames(p, last);
            break;
        }
    }
    return p;
}

void CPitchStream::SumConstant(CATCH_UP_POINT& p, int64_t last) const {
    const double factor = Factor(FrameTime(p.frame + 1), FrameMs(p.frame + 1));
    const double ms = FrameMs(last);
    p.sum += factor * (ms - p.ms) / 1000;
    p.ms = ms;
    p.frame = last;
}

void CPitchStream::SumFrames(CATCH_UP_POINT& p, int64_t last) const {
    double t[kBatch], ms[kBatch], factor[kBatch];
    while (p.frame < last) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(kBatch, last - p.frame));
        for (int32_t j = 0; j < n; ++j) {
            t[j] = FrameTime(p.frame + 1 + j);
            ms[j] = times->Ms(t[j]);
        }
        Factors(t, ms, n, factor);
        for (int32_t j = 0; j < n; ++j) {
            p.sum += factor[j] * (ms[j] - p.ms) / 1000;
            p.ms = ms[j];
        }
        p.frame += n;
    }
}

void CPitchStream::SumPeriodic(CATCH_UP_POINT& p, int64_t last, const PIECE& piece) const {
    // The note's first frame steps from note time 0, not from the frame before it.
    if (p.frame < firstFrame)
        Step(p);
    const int64_t frames = last - p.frame;
    if (SmoothCheaper(piece, frames, last)) {
        SumSmooth(p, last, piece);
        return;
    }
    if (piece.block == 0 || frames < 2 * piece.block) {
        SumFrames(p, last);
        return;
    }
    BLOCK_SUM s;
    s.first = p.frame;
    s.count = frames / piece.block;
    s.rest = frames % piece.block;
    SumBlock(s, piece);
    p.sum += s.whole * GeometricSum(piece.blockOctaves, s.count) +
             s.part * voice::Exp2(double(s.count) * piece.blockOctaves) + s.fixes;
    p.ms = FrameMs(last);
    p.frame = last;
}

// Sums the block after s.first frame by frame, and at each frame next to a jump of a
// stepped LFO the difference that frame makes in each later copy of the block. In those
// copies the block's first frame follows its last one, not the frame before the block
// (which may even lie before the LFO's start), so the seam is judged on the first copy.
void CPitchStream::SumBlock(BLOCK_SUM& s, const PIECE& piece) const {
    double t[kBatch], ms[kBatch], factor[kBatch];
    double lastMs = FrameMs(s.first);
    const int64_t end = s.first + piece.block;
    const bool seamJump = piece.stepped > 0 && Stretch(piece, end) != Stretch(piece, end + 1);
    STRETCH before = Stretch(piece, s.first);
    bool jumpBefore = false; // a jump between the previous frame and the one before it
    double previousFactor = 0;
    double previousStep = 0;
    double sum = 0;
    for (int64_t done = 0; done < piece.block;) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(kBatch, piece.block - done));
        for (int32_t j = 0; j < n; ++j) {
            t[j] = FrameTime(s.first + 1 + done + j);
            ms[j] = times->Ms(t[j]);
        }
        Factors(t, ms, n, factor);
        for (int32_t j = 0; j < n; ++j) {
            const int64_t i = s.first + 1 + done + j;
            const double step = ms[j] - lastMs;
            lastMs = ms[j];
            sum += factor[j] * step / 1000;
            if (i - s.first == s.rest)
                s.part = sum;
            if (piece.stepped == 0)
                continue;
            const STRETCH now = Stretch(piece, i);
            const bool jump = i == s.first + 1 ? seamJump : now != before;
            if (i > s.first + 1 && (jumpBefore || jump))
                FixStepFrame(s, piece, i - 1, previousFactor, previousStep);
            jumpBefore = jump;
            before = now;
            previousFactor = factor[j];
            previousStep = step;
        }
        done += n;
    }
    if (piece.stepped > 0 && (jumpBefore || seamJump))
        FixStepFrame(s, piece, end, previousFactor, previousStep);
    s.whole = sum;
}

void CPitchStream::FixStepFrame(BLOCK_SUM& s, const PIECE& piece, int64_t frame, double factor,
                                double deltaMs) const {
    const bool inRest = frame - s.first <= s.rest;
    for (int64_t copy = 1; copy < s.count || (copy == s.count && inRest); ++copy) {
        const int64_t i = frame + copy * piece.block;
        const double scale =
            piece.blockOctaves == 0 ? 1 : voice::Exp2(double(copy) * piece.blockOctaves);
        s.fixes += (Factor(FrameTime(i), FrameMs(i)) - scale * factor) * deltaMs / 1000;
    }
}

CPitchStream::STRETCH CPitchStream::Stretch(const PIECE& piece, int64_t frame) const {
    STRETCH stretch{};
    const double ms = FrameMs(frame);
    for (int k = 0; k < piece.stepped; ++k)
        stretch[size_t(k)] = piece.steppedLfos[size_t(k)]->Stretch(ms, times->lengthMs);
    return stretch;
}

// The Euler-Maclaurin terms left out shrink with (frame step * rate of change)^2 per term;
// below kMaxStepChange they are far below rounding. Over a quarter cycle the fixed
// quadrature stays at rounding level for any depth the shapes let through (two LFOs of two
// octaves each), so depth alone never forces the frames to be summed one by one, which would
// make a late second cost the frames since the note's start. Otherwise the cheaper of the
// two sums is taken, counting a smooth stretch as about as dear as 20 frames, a linear one
// (a geometric series) as 6.
bool CPitchStream::SmoothCheaper(const PIECE& piece, int64_t frames, int64_t last) const {
    constexpr double kMaxStepChange = 0.05;
    constexpr double kStretchCost = 20;
    constexpr double kLinearStretchCost = 6;
    if (piece.steady == 0 || frames <= 0)
        return false;
    double change = kLn2 / 12 * std::fabs(piece.glideSlope);
    double quarters = double(frames) / std::max(1.0, std::floor(rate / 8)) + 1;
    for (int k = 0; k < piece.steady; ++k) {
        const CLfoShape& lfo = *piece.steadyLfos[size_t(k)];
        // Quarter indexes must stay exact integers up to the piece's end.
        if (!(lfo.Cycles(FrameMs(last), times->lengthMs) < 0x1p40))
            return false;
        const double cyclesPerSecond = 1000 / double(lfo.PeriodMs());
        change += (1 + kLn2 / 12 * lfo.Amplitude()) * voice::kTwoPi * cyclesPerSecond;
        quarters += 4 * cyclesPerSecond * double(frames) / rate + 1;
    }
    if (!(change / rate <= kMaxStepChange))
        return false;
    const double blockCost =
        piece.block == 0 || frames < 2 * piece.block ? double(frames) : double(piece.block);
    return quarters * (Linear(piece) ? kLinearStretchCost : kStretchCost) < blockCost;
}

// The first frame after `frame` in a later quarter cycle of `lfo` than frame's, which
// goes to `quarter`. Frames are judged by the cycle count GetValue computes, so each lies
// on the side of a jump that its value does.
int64_t CPitchStream::QuarterEnd(const CLfoShape& lfo, int64_t frame, int64_t& quarter) const {
    const double lengthMs = times->lengthMs;
    const double c = lfo.Cycles(FrameMs(frame), lengthMs);
    quarter = static_cast<int64_t>(std::floor(4 * c));
    const double next = double(quarter + 1) / 4;
    const double ms = lfo.OnsetMs(lengthMs) + next * double(lfo.PeriodMs());
    const double guess = std::ceil((times->noteStart + ms / 1000) * rate);
    return FirstFrameWhere([&](int64_t i) { return lfo.Cycles(FrameMs(i), lengthMs) >= next; },
                           guess, frame + 1);
}

void CPitchStream::SumSmooth(CATCH_UP_POINT& p, int64_t last, const PIECE& piece) const {
    const auto longest = static_cast<int64_t>(std::max(1.0, std::floor(rate / 8)));
    while (p.frame < last) {
        const int64_t a = p.frame + 1;
        int64_t b = std::min(last, a + longest - 1);
        QUARTERS q{};
        for (int k = 0; k < piece.steady; ++k)
            b = std::min(b, QuarterEnd(*piece.steadyLfos[size_t(k)], a, q[size_t(k)]) - 1);
        p.sum += SegmentSum(piece, q, a, b);
        p.frame = b;
        p.ms = FrameMs(b);
    }
}

// The exponent v + b in semitones at song time t and its first three derivatives per
// second, on the quarters `q` of the steady LFOs.
std::array<double, 4> CPitchStream::ExponentJet(const PIECE& piece, const QUARTERS& q,
                                                double t) const {
    std::array<double, 4> e{times->Bend(t), piece.glideSlope, 0, 0};
    const double ms = times->Ms(t);
    for (int k = 0; k < piece.steady; ++k) {
        const CLfoShape& lfo = *piece.steadyLfos[size_t(k)];
        const double perSecond = 1000 / double(lfo.PeriodMs());
        const std::array<double, 4> v =
            lfo.QuarterJet(q[size_t(k)], lfo.Cycles(ms, times->lengthMs));
        e[0] += v[0];
        e[1] += v[1] * perSecond;
        e[2] += v[2] * perSecond * perSecond;
        e[3] += v[3] * perSecond * perSecond * perSecond;
    }
    return e;
}

bool CPitchStream::Linear(const PIECE& piece) {
    for (int k = 0; k < piece.steady; ++k)
        if (piece.steadyLfos[size_t(k)]->Smooth())
            return false;
    return true;
}

// The sum over frames a..b of factor / rate: the integral from t_a to t_b, the mean of
// the end values, and the end corrections h^2/12 g' and -h^4/720 g''' (h = 1 / rate).
double CPitchStream::SegmentSum(const PIECE& piece, const QUARTERS& q, int64_t a, int64_t b) const {
    // Gauss-Legendre nodes (positive half) and weights, 12 points.
    static constexpr std::array<double, 6> kNode = {
        0.1252334085114689154724414, 0.3678314989981801937526915, 0.5873179542866174472967024,
        0.7699026741943046870368938, 0.9041172563704748566784659, 0.9815606342467192506905491};
    static constexpr std::array<double, 6> kWeight = {
        0.2491470458134027850005624, 0.2334925365383548087608499, 0.2031674267230659217490645,
        0.1600783285433462263346525, 0.1069393259953184309602547, 0.0471753363865118271946160};
    constexpr double kScale = kLn2 / 12;
    const double h = 1 / rate;
    if (Linear(piece)) {
        // The exponent rises by the same step every frame: a geometric series.
        const std::array<double, 4> e = ExponentJet(piece, q, FrameTime(a));
        return h * voice::Exp2(e[0] / 12) * GeometricSum(e[1] * h / 12, b - a + 1);
    }
    const double ta = FrameTime(a);
    const double tb = FrameTime(b);
    const double mid = (ta + tb) / 2;
    const double half = (tb - ta) / 2;
    double integral = 0;
    for (size_t j = 0; j < kNode.size(); ++j) {
        const double lo = ExponentJet(piece, q, mid - half * kNode[j])[0];
        const double hi = ExponentJet(piece, q, mid + half * kNode[j])[0];
        integral += kWeight[j] * (voice::Exp2(lo / 12) + voice::Exp2(hi / 12));
    }
    integral *= half;
    const auto ends = [&](double t, double& g, double& g1, double& g3) {
        const std::array<double, 4> e = ExponentJet(piece, q, t);
        g = voice::Exp2(e[0] / 12);
        const double d1 = kScale * e[1];
        g1 = g * d1;
        g3 = g * (kScale * e[3] + 3 * d1 * kScale * e[2] + d1 * d1 * d1);
    };
    double ga = 0, ga1 = 0, ga3 = 0, gb = 0, gb1 = 0, gb3 = 0;
    ends(ta, ga, ga1, ga3);
    ends(tb, gb, gb1, gb3);
    return integral + h * (ga + gb) / 2 + h * h / 12 * (gb1 - ga1) -
           h * h * h * h / 720 * (gb3 - ga3);
}
