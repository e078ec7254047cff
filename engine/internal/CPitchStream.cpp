#include "engine/internal/CPitchStream.h"

#include <algorithm>
#include <cmath>

namespace {

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
    if (this->lfoA != nullptr)
        lfoBegin = FirstLfoFrame(*this->lfoA);
    if (this->lfoB != nullptr)
        lfoBegin = std::min(lfoBegin, FirstLfoFrame(*this->lfoB));
}

int64_t CPitchStream::FirstGlideFrame(double time) const {
    return FirstFrameWhere([&](int64_t i) { return FrameTime(i) >= time; }, std::ceil(time * rate),
                           firstFrame);
}

int64_t CPitchStream::FirstLfoFrame(const CLfoShape& lfo) const {
    const double lengthMs = times->lengthMs;
    const double guess = std::ceil((times->noteStart + lfo.OnsetMs(lengthMs) / 1000) * rate);
    return FirstFrameWhere([&](int64_t i) { return lfo.Running(FrameMs(i), lengthMs); }, guess,
                           firstFrame);
}

int64_t CPitchStream::StopFrame(double ms) const {
    const double guess = std::ceil((times->noteStart + ms / 1000) * rate);
    const int64_t n =
        FirstFrameWhere([&](int64_t i) { return FrameMs(i) >= ms; }, guess, firstFrame);
    return std::min(n, kMaxFrame);
}

CPitchStream::PIECE CPitchStream::PieceAt(int64_t frame) const {
    if (frame >= lfoBegin)
        return {kNever, false};
    if (frame < glideBegin)
        return {std::min(glideBegin, lfoBegin), true};
    if (frame >= glideDone)
        return {lfoBegin, true};
    return {std::min(glideDone, lfoBegin), false};
}

bool CPitchStream::Varies(int64_t frame) const {
    return !PieceAt(frame).constant;
}

CATCH_UP_POINT CPitchStream::SumTo(CATCH_UP_POINT from, int64_t n, CATCH_UP_POINT* record) const {
    CATCH_UP_POINT p = from;
    const int64_t recordAt = record != nullptr ? record->frame : -1;
    while (p.frame < n) {
        const PIECE piece = PieceAt(p.frame + 1);
        const int64_t last = std::min(piece.end - 1, n);
        if (piece.constant) {
            const double factor = Factor(FrameTime(p.frame + 1), FrameMs(p.frame + 1));
            if (recordAt > p.frame && recordAt <= last) {
                const double ms = FrameMs(recordAt);
                *record = {recordAt, p.sum + factor * (ms - p.ms) / 1000, ms};
            }
            const double ms = FrameMs(last);
            p.sum += factor * (ms - p.ms) / 1000;
            p.ms = ms;
            p.frame = last;
        } else {
            while (p.frame < last) {
                Step(p);
                if (p.frame == recordAt)
                    *record = p;
            }
        }
    }
    return p;
}
