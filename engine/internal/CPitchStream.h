#pragma once
// The pitch of one oscillator over its note, as the factor 2^((v + b) / 12) by which
// vibrato (v, one or two LFOs) and portamento (b) multiply the oscillator's base frequency,
// and the integral of that factor on the song's frame grid that rebuilds a phase from the
// note's start ("catch-up").
//
// The integral is the rectangle sum over frames i = i0, i0 + 1, ... (t_i = i / rate,
// i0 = ceil(rate * noteStart)) of factor(t_i) * (ms_i - ms_{i-1}) / 1000, with ms_{i0-1} = 0.
// Its cost does not grow with the note's length: the frames split into pieces by the
// moments the LFOs start and end their fade-in and the glide starts and ends, and
//  - where the factor is constant, a piece's sum telescopes to one step;
//  - where every running LFO has faded in, the factor repeats after a whole number of
//    frames (a "block": whole LFO periods that are also whole frames; two LFOs repeat
//    together after the least common multiple of their blocks), times a constant ratio
//    per block while a glide runs. The piece's sum is one block summed frame by frame
//    and the geometric series of its copies. Square and sawtooth LFOs jump inside their
//    cycles; a frame next to a jump may fall on the other side of it in a later block
//    through rounding alone, so those frames are evaluated in every block;
//  - where the repeating block would be long (slow LFOs, odd rates), the frames split
//    further at every quarter cycle of each LFO, inside which the factor is one smooth
//    function of time (a jump or corner of any waveform lies on a quarter's edge). Each
//    such stretch is summed in closed form: where the exponent is linear there (triangle,
//    square and sawtooth LFOs under a glide or none) as a geometric series, else (sine)
//    by the Euler-Maclaurin formula: the integral by Gauss-Legendre plus end corrections
//    from the factor's derivatives. That is used only where the frames are dense enough
//    against the factor's changes that the terms left out stay far below rounding;
//  - only while an LFO fades in, or where a block would be longer than the piece, are
//    the frames summed one by one.
// The sum differs from the frame-by-frame sum by floating-point rounding only (the sine's
// closed form also by terms far below it), and it is a function of the note and the frame
// alone, so a render's result never depends on what was rendered before.

#include "engine/internal/CLfoShape.h"
#include "engine/internal/CNoteTimes.h"
#include "engine/internal/VoiceMath.h"

#include <array>
#include <cmath>
#include <cstdint>

// The catch-up sum through frame `frame` (inclusive).
struct CATCH_UP_POINT {
    int64_t frame = 0;
    double sum = 0; // cycles per Hz of base frequency
    double ms = 0;  // note time of `frame`
};

class CPitchStream {
public:
    // Frame indexes beyond this are not representable exactly; notes there are silent.
    static constexpr int64_t kMaxFrame = int64_t{1} << 52;
    // Most frames Factors takes at once.
    static constexpr int32_t kBatch = 64;

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
    // Factor at t[j], ms[j] into out[j] for j < n (n <= kBatch): the same values, computed
    // stage by stage.
    void Factors(const double* t, const double* ms, int32_t n, double* out) const;

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
    // The catch-up sum from the note's start through frame n (n >= Start().frame).
    CATCH_UP_POINT SumTo(int64_t n) const;
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
    // Longest block used; beyond it (or past a piece's half length) frames are summed.
    static constexpr int64_t kMaxBlock = int64_t{1} << 40;

    struct LFO_TIMES {
        const CLfoShape* lfo = nullptr;
        int64_t onset = kNever;  // first frame at which it runs
        int64_t steady = kNever; // first frame past its fade-in
        int64_t block = 0;       // frames after which its values repeat; 0: too many
    };
    enum class Kind { Constant, Periodic, Frames };
    struct PIECE {
        int64_t end = kNever; // first frame after the piece
        Kind kind = Kind::Constant;
        int64_t block = 1;       // Periodic: frames after which the factor repeats
        double blockOctaves = 0; // Periodic: log2 of the ratio between blocks (glide)
        int stepped = 0;         // Periodic: LFOs with jumps in `steppedLfos`
        std::array<const CLfoShape*, 2> steppedLfos{};
        int steady = 0; // Periodic: LFOs past their fade-in in `steadyLfos`
        std::array<const CLfoShape*, 2> steadyLfos{};
        double glideSlope = 0; // Periodic: semitones per second of the glide in progress
    };
    using QUARTERS = std::array<int64_t, 2>;
    // A Periodic piece's sum in parts: a block, its copies and their exceptions.
    struct BLOCK_SUM {
        int64_t first = 0; // the frame before the block
        int64_t count = 0; // whole blocks
        int64_t rest = 0;  // frames after the whole blocks
        double whole = 0;  // sum over the block
        double part = 0;   // sum over the block's first `rest` frames
        double fixes = 0;  // differences at frames next to jumps in later blocks
    };

    int64_t FirstGlideFrame(double time) const;
    LFO_TIMES LfoTimes(const CLfoShape* lfo) const;
    int64_t BlockFrames(const CLfoShape& lfo) const;
    PIECE PieceAt(int64_t frame) const;
    void SumFrames(CATCH_UP_POINT& p, int64_t last) const;
    void SumConstant(CATCH_UP_POINT& p, int64_t last) const;
    void SumPeriodic(CATCH_UP_POINT& p, int64_t last, const PIECE& piece) const;
    void SumBlock(BLOCK_SUM& s, const PIECE& piece) const;
    bool SmoothCheaper(const PIECE& piece, int64_t frames, int64_t last) const;
    void SumSmooth(CATCH_UP_POINT& p, int64_t last, const PIECE& piece) const;
    int64_t QuarterEnd(const CLfoShape& lfo, int64_t frame, int64_t& quarter) const;
    std::array<double, 4> ExponentJet(const PIECE& piece, const QUARTERS& q, double t) const;
    // True when every steady LFO is piecewise linear, so the exponent is linear in time on
    // each quarter.
    static bool Linear(const PIECE& piece);
    double SegmentSum(const PIECE& piece, const QUARTERS& q, int64_t a, int64_t b) const;
    void FixStepFrame(BLOCK_SUM& s, const PIECE& piece, int64_t frame, double factor,
                      double deltaMs) const;
    using STRETCH = std::array<int64_t, 2>;
    STRETCH Stretch(const PIECE& piece, int64_t frame) const;

    const CNoteTimes* times = nullptr;
    const CLfoShape* lfoA = nullptr;
    const CLfoShape* lfoB = nullptr;
    double rate = 1;
    bool valid = false;
    int64_t firstFrame = 0;
    int64_t glideBegin = kNever; // first frame of the glide
    int64_t glideDone = kNever;  // first frame at the glide's final level
    std::array<LFO_TIMES, 2> lfos{};
};
