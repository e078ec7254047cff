#include "engine/internal/CPitchStream.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
    const int64_t periodRate = std::llabs(lfo.PeriodMs()) * static_cast<int64_t>(rate);
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
