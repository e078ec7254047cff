#pragma once
// The pitch of one oscillator over its note, as the factor 2^((v + b) / 12) by which
// vibrato (v) and portamento (b) multiply the oscillator's base frequency, and the
// integral of that factor on the song's frame grid that rebuilds a phase from the note's
// start ("catch-up").
//
// The integral is the rectangle sum over frames i = i0, i0 + 1, ... (t_i = i / rate,
// i0 = ceil(rate * noteStart)) of factor(t_i) * (ms_i - ms_{i-1}) / 1000, with ms_{i0-1} = 0.
// Where the factor cannot change (before a vibrato starts, outside a glide) the sum over a
// stretch telescopes to factor * (ms_last - ms_first-1) / 1000, computed in one step; only
// stretches with a varying factor are summed frame by frame. The split into stretches
// depends on the note alone, so the sum is the same number whichever point it starts from
// (see CATCH_UP_POINT).

#include "engine/internal/CLfoShape.h"
#include "engine/internal/CNoteTimes.h"
#include "engine/internal/VoiceMath.h"

#include <cmath>
#include <cstdint>

// The catch-up sum after frame `frame` (inclusive). Any point that lies on a stretch where
// the factor varies can be continued with SumTo and gives the same result, bit for bit, as
// a sum from the note's start.
struct CATCH_UP_POINT {
    int64_t frame = 0;
    double sum = 0; // cycles per Hz of base frequency
    double ms = 0;  // note time of `frame`
};

class CPitchStream {
public:
    // Frame indexes beyond this are not representable exactly; notes there are silent.
    static constexpr int64_t kMaxFrame = int64_t{1} << 52;

    CPitchStream() = default;
    // `lfoA` and `lfoB` may be null; all pointers must outlive the stream.
    CPitchStream(const CNoteTimes* times, const CLfoShape* lfoA, const CLfoShape* lfoB,
                 double rate);

    bool Valid() const { return valid; }

    // 2^((v + b) / 12) at song time t (note time ms).
    double Factor(double t, double ms) const {
        double e = 0;
        if (lfoA != nullptr)
            e += lfoA->GetValue(ms, times->lengthMs);
        if (lfoB != nullptr)
            e += lfoB->GetValue(ms, times->lengthMs);
        e += times->Bend(t);
        return e == 0 ? 1 : voice::Exp2(e / 12);
    }

    // True when Factor is the same for every time in [tFirst, tLast] (note times up to
    // msLast): no vibrato running yet and no glide in progress.
    bool ConstantOver(double tFirst, double tLast, double msLast) const {
        if (lfoA != nullptr && lfoA->Running(msLast, times->lengthMs))
            return false;
        if (lfoB != nullptr && lfoB->Running(msLast, times->lengthMs))
            return false;
        return !times->glide || tLast < times->glideStart ||
               (tFirst >= times->glideStart && tFirst >= times->glideEnd);
    }

    double FrameTime(int64_t frame) const { return double(frame) / rate; }
    double FrameMs(int64_t frame) const { return times->Ms(FrameTime(frame)); }
    // The point before the note's first frame: nothing summed yet.
    CATCH_UP_POINT Start() const { return {firstFrame - 1, 0, 0}; }
    // The frame at which a catch-up to note time `ms` stops: the first frame from the
    // note's first one whose note time is at least `ms`.
    int64_t StopFrame(double ms) const;
    // True when the factor may change from frame to frame at `frame`: only such points are
    // worth keeping as checkpoints.
    bool Varies(int64_t frame) const;
    bool VariesAnywhere() const { return glideBegin < kNever || lfoBegin < kNever; }

    // Continues `from` to frame n (n >= from.frame). When `record` is given and its
    // frame lies in (from.frame, n], it receives the point at that frame.
    CATCH_UP_POINT SumTo(CATCH_UP_POINT from, int64_t n, CATCH_UP_POINT* record = nullptr) const;
    // Adds the single frame after `p` to it.
    void Step(CATCH_UP_POINT& p) const {
        const int64_t i = p.frame + 1;
        const double t = FrameTime(i);
        const double ms = times->Ms(t);
        p.sum += Factor(t, ms) * (ms - p.ms) / 1000;
        p.ms = ms;
        p.frame = i;
    }

private:
    static constexpr int64_t kNever = INT64_MAX;
    struct PIECE {
        int64_t end; // first frame after the piece
        bool constant;
    };

    PIECE PieceAt(int64_t frame) const;
    int64_t FirstGlideFrame(double time) const;
    int64_t FirstLfoFrame(const CLfoShape& lfo) const;

    const CNoteTimes* times = nullptr;
    const CLfoShape* lfoA = nullptr;
    const CLfoShape* lfoB = nullptr;
    double rate = 1;
    bool valid = false;
    int64_t firstFrame = 0;
    int64_t glideBegin = kNever; // first frame of the glide
    int64_t glideDone = kNever;  // first frame at the glide's final level
    int64_t lfoBegin = kNever;   // first frame at which a vibrato runs
};
