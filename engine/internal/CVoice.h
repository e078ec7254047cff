#pragma once
// One note of one track being rendered: its oscillators (the track's own and the four FM
// operators), envelopes and gains. Everything that does not change while the note sounds
// is derived once here. Samples are rendered in blocks, stage by stage (note times, phases,
// waveform, envelope, gains): apart from the running phase sums and the FM feedback the
// frames do not depend on each other, so the processor overlaps their work. Each frame's
// arithmetic is exactly that of a sample computed on its own.

#include "engine/WavePitch.h"
#include "engine/internal/CEnvelopeShape.h"
#include "engine/internal/CPcmVoice.h"
#include "engine/internal/CPitchStream.h"

#include <array>
#include <cstdint>

class CNote;
class CNoteTimes;
class CTrack;
class CTrackVoice;

class CVoice {
public:
    static constexpr int kOscillators = 5; // the track's own, then FM operators 1..4

    CVoice() = default;
    // `track` and `times` must outlive the voice; `note` and `trackKey` (may be null) only
    // label the oscillator entries.
    CVoice(const CTrackVoice& track, const CNoteTimes& times, const CNote& note,
           const CTrack* trackKey);

    // The note's sample at song time t, with the master volume and fade-out gains of t.
    double GetSample(double t, double masterGain, double fadeGain);
    // Adds the samples at t[0..count) to acc[0..count).
    void Render(const double* t, const double* fadeGain, int32_t count, double masterGain,
                double* acc);

    // Phase in cycles of oscillator `osc` at t, advancing it as a sample would.
    double GetPhase(int osc, double t);
    // Frequency in Hz of oscillator `osc` at t (noise: table steps per second).
    double GetFrequency(int osc, double t) const;
    double GetClickGain(double ms) const;
    const WAVE_PITCH& Oscillator(int osc) const { return oscillators[size_t(osc)]; }

private:
    static constexpr int32_t kBlock = 64;
    struct BLOCK {
        int32_t count;
        const double* t;
        double ms[kBlock];
        double pitch[kBlock]; // the track stream's factor
        double value[kBlock];
    };

    void RenderBlock(BLOCK& b, const double* fadeGain, double masterGain, double* acc);
    void SourceBlock(BLOCK& b);
    void PitchFactors(const CPitchStream& stream, const BLOCK& b, double* factor) const;
    void Phases(int osc, const BLOCK& b, const double* factor, double* phase);
    // Per-frame (1 + tremolo) * click gain; false when it is 1 throughout the block.
    bool Modulation(const BLOCK& b, double* mod) const;
    void ApplyGains(BLOCK& b, const double* fadeGain, double masterGain);
    void FmBlock(BLOCK& b);
    // Operator `index` (0..3) over the block with modulation m (null: none) into out.
    void OperatorBlock(int index, const BLOCK& b, const double* m, double* out);
    // The operator's pitch factors over the block: the track's, or those of its own
    // stream written into `own`.
    const double* OperatorPitch(int index, const BLOCK& b, double* own) const;
    void OperatorGain(int index, const BLOCK& b, double* gain) const;
    double Advance(int osc, double ms, double factor);
    void CatchUp(int osc, double ms);
    // The catch-up sum of a stream through `frame`; the last one of each stream is kept,
    // as the oscillators sharing a stream all catch up to the same frame.
    CATCH_UP_POINT StreamPoint(int stream, int64_t frame);
    double FeedbackCatchUp(int osc, int64_t frame, double ms);
    double WaveMemory(double phase) const;

    const CTrackVoice* track = nullptr;
    const CNoteTimes* times = nullptr;
    bool audible = false;
    double noteGain = 0;
    CEnvelopeShape envelope;
    std::array<CEnvelopeShape, 4> operatorEnvelopes;
    std::array<bool, 4> operatorOn{};
    double envelopeDelay = 0; // unscaled, ms: the click reduction counts from it
    double soundLengthMs = 0;
    PCM_LOOP pcmLoop;
    const int8_t* noise = nullptr;
    std::array<double, kOscillators> base{}; // frequency without vibrato and glide, Hz
    std::array<CPitchStream, kOscillators> streams;
    std::array<int8_t, kOscillators> streamOf{};
    std::array<WAVE_PITCH, kOscillators> oscillators;
    std::array<CATCH_UP_POINT, kOscillators> memo{}; // last catch-up of each stream
    std::array<bool, kOscillators> memoValid{};
};
