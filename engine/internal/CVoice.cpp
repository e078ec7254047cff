#include "engine/internal/CVoice.h"

#include "engine/NoiseTable.h"
#include "engine/internal/CNoteTimes.h"
#include "engine/internal/CTrackVoice.h"
#include "engine/internal/VoiceMath.h"
#include "model/CNote.h"
#include "model/CTrack.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEightPi = 4 * voice::kTwoPi;
// Longest stretch of frames the FM feedback catch-up replays (see FeedbackCatchUp).
constexpr int64_t kMaxFeedbackWindow = 8192;

// Frames of the feedback recurrence fb = g * sin(theta + 8 pi fb) that determine its value
// to 1e-17. Its slope is at most 8 pi |g| = lambda; below 1 the influence of a frame
// shrinks by lambda per later frame. At and above 1 the recurrence can amplify rounding
// without bound (it is chaotic for large gains), so no computation reproduces a value
// summed over a long note exactly; the window is then the fixed maximum.
int64_t FeedbackWindow(double gain) {
    const double g = std::fabs(gain);
    const double lambda = kEightPi * g;
    if (!(lambda < 1))
        return kMaxFeedbackWindow;
    const double frames = std::ceil(std::log(1e-17 / (2 * g)) / std::log(lambda));
    return static_cast<int64_t>(std::clamp(frames, 1.0, double(kMaxFeedbackWindow)));
}

} // namespace

CVoice::CVoice(const CTrackVoice& track, const CNoteTimes& times, const CNote& note,
               const CTrack* trackKey)
    : track(&track), times(&times), noteGain(note.volume / 255.0),
      envelope(track.envelope, track.transpose, note.key, times),
      envelopeDelay(track.envelope.delay), noise(NoiseTable().data()) {
    const double key = note.key;
    for (size_t k = 0; k < oscillators.size(); ++k) {
        oscillators[k].note = &note;
        oscillators[k].track = trackKey;
        if (k > 0 && trackKey != nullptr)
            oscillators[k].fmOperator = &trackKey->settings.fm.operators[k - 1];
    }
    streams[0] = CPitchStream(&times, &track.pitchLfo, nullptr, track.rate);
    if (track.waveform == kNoise)
        base[0] = 512 * std::exp2((95 - key + track.detuneSemitones) / 12);
    else
        base[0] = 27.5 * std::exp2((track.transpose - key + 98 + track.detuneSemitones) / 12);
    for (size_t i = 0; i < operatorOn.size(); ++i) {
        const FM_OPERATOR_VOICE& op = track.operators[i];
        operatorEnvelopes[i] = CEnvelopeShape(op.envelope, track.transpose, note.key, times);
        base[i + 1] =
            27.5 * op.multiple * std::exp2((op.detuneSemitones + track.transpose - key + 98) / 12);
        operatorOn[i] = op.on && std::isfinite(base[i + 1]);
        if (op.pitchLfo.Active()) {
            streams[i + 1] = CPitchStream(&times, &track.pitchLfo, &op.pitchLfo, track.rate);
            streamOf[i + 1] = static_cast<int8_t>(i + 1);
        }
    }
    if (track.waveform == kPcm)
        pcmLoop = track.pcm.LoopFor(note.key);
    soundLengthMs = std::min(times.noteEnd - times.noteStart,
                             times.keyOffMs / 1000 + envelope.GetReleaseTime()) *
                    1000;
    audible = streams[0].Valid() && track.waveform >= kSquare && track.waveform <= kFm;
}

double CVoice::GetSample(double t, double masterGain, double fadeGain) {
    double sample = 0;
    Render(&t, &fadeGain, 1, masterGain, &sample);
    return sample;
}

void CVoice::Render(const double* t, const double* fadeGain, int32_t count, double masterGain,
                    double* acc) {
    if (!audible)
        return;
    BLOCK b;
    for (int32_t first = 0; first < count; first += kBlock) {
        b.count = std::min(kBlock, count - first);
        b.t = t + first;
        RenderBlock(b, fadeGain + first, masterGain, acc + first);
    }
}

void CVoice::RenderBlock(BLOCK& b, const double* fadeGain, double masterGain, double* acc) {
    for (int32_t j = 0; j < b.count; ++j)
        b.ms[j] = times->Ms(b.t[j]);
    PitchFactors(streams[0], b, b.pitch);
    if (track->waveform == kFm)
        FmBlock(b);
    else
        SourceBlock(b);
    ApplyGains(b, fadeGain, masterGain);
    for (int32_t j = 0; j < b.count; ++j)
        acc[j] += b.value[j];
}

void CVoice::PitchFactors(const CPitchStream& stream, const BLOCK& b, double* factor) const {
    const int32_t n = b.count;
    if (stream.ConstantOver(b.t[0], b.t[n - 1], b.ms[n - 1])) {
        std::fill(factor, factor + n, stream.Factor(b.t[0], b.ms[0]));
        return;
    }
    stream.Factors(b.t, b.ms, n, factor);
}

void CVoice::SourceBlock(BLOCK& b) {
    double* v = b.value;
    Phases(0, b, b.pitch, v);
    const int32_t n = b.count;
    switch (track->waveform) {
    case kSquare:
        for (int32_t j = 0; j < n; ++j)
            v[j] = voice::Square(v[j], track->squareHighPart);
        break;
    case kTriangle:
        for (int32_t j = 0; j < n; ++j)
            v[j] = voice::Triangle(v[j]);
        break;
    case kSawtooth:
        for (int32_t j = 0; j < n; ++j)
            v[j] = voice::Sawtooth(v[j]);
        break;
    case kSine:
        for (int32_t j = 0; j < n; ++j)
            v[j] = voice::Sine(v[j]);
        break;
    case kNoise:
        for (int32_t j = 0; j < n; ++j)
            v[j] = noise[voice::NoiseIndex(v[j], 4095)];
        break;
    case kPcm:
        for (int32_t j = 0; j < n; ++j)
            v[j] = track->pcm.GetSample(v[j], pcmLoop);
        break;
    default:
        for (int32_t j = 0; j < n; ++j)
            v[j] = WaveMemory(v[j]);
        break;
    }
}

// The only sequential part of a block: each phase continues the one before it.
void CVoice::Phases(int osc, const BLOCK& b, const double* factor, double* phase) {
    WAVE_PITCH& w = oscillators[size_t(osc)];
    int32_t j = 0;
    if (w.phase == -1) {
        CatchUp(osc, b.ms[0]);
        w.lastMs = b.ms[0];
        phase[0] = w.phase;
        j = 1;
    }
    const double frequency = base[size_t(osc)];
    double p = w.phase;
    double lastMs = w.lastMs;
    for (; j < b.count; ++j) {
        p += frequency * factor[j] * (b.ms[j] - lastMs) / 1000;
        lastMs = b.ms[j];
        phase[j] = p;
    }
    w.phase = p;
    w.lastMs = lastMs;
}

bool CVoice::Modulation(const BLOCK& b, double* mod) const {
    const int32_t n = b.count;
    const double first = b.ms[0];
    const double last = b.ms[n - 1];
    const bool tremolo = track->ampLfo.Running(last, times->lengthMs);
    const bool click =
        track->clickReduction && (first - envelopeDelay < 5 || last > soundLengthMs - 5);
    if (!tremolo && !click)
        return false;
    for (int32_t j = 0; j < n; ++j)
        mod[j] = (1 + track->ampLfo.GetValue(b.ms[j], times->lengthMs)) * GetClickGain(b.ms[j]);
    return true;
}

void CVoice::ApplyGains(BLOCK& b, const double* fadeGain, double masterGain) {
    const int32_t n = b.count;
    double level[kBlock];
    double flatLevel = 0;
    const bool flat = envelope.ConstantOver(b.ms[0], b.ms[n - 1], flatLevel);
    if (flat)
        std::fill(level, level + n, flatLevel);
    else
        for (int32_t j = 0; j < n; ++j)
            level[j] = envelope.GetLevel(b.ms[j]);
    double mod[kBlock];
    const bool modulated = Modulation(b, mod);
    const bool invert = track->invert;
    const int32_t steps = track->pseudoWave;
    // Track volume, master volume and note volume: one product instead of three factors.
    const double gain = track->gain * masterGain * noteGain;
    for (int32_t j = 0; j < n; ++j) {
        double value = b.value[j];
        if (invert)
            value = -value;
        if (steps > 1)
            value = voice::Quantize(value, steps);
        value *= level[j];
        value *= gain;
        value *= fadeGain[j];
        if (modulated)
            value *= mod[j];
        b.value[j] = std::isfinite(value) ? value : 0;
    }
}

double CVoice::GetPhase(int osc, double t) {
    const double ms = times->Ms(t);
    return Advance(osc, ms, streams[size_t(streamOf[size_t(osc)])].Factor(t, ms));
}

double CVoice::GetFrequency(int osc, double t) const {
    const auto k = size_t(osc);
    return base[k] * streams[size_t(streamOf[k])].Factor(t, times->Ms(t));
}

double CVoice::GetClickGain(double ms) const {
    if (!track->clickReduction)
        return 1;
    const double d = ms - envelopeDelay;
    double gain;
    if (d < 5)
        gain = 1 - (std::exp2(6 * (1 - d / 5)) - 1) / 63; // 64^(1 - d/5)
    else if (ms > soundLengthMs - 5)
        gain = 1 - (std::exp2(6 * (1 - (soundLengthMs - ms) / 5)) - 1) / 63;
    else
        return 1;
    return gain > 0 ? gain : 0;
}

double CVoice::Advance(int osc, double ms, double factor) {
    WAVE_PITCH& w = oscillators[size_t(osc)];
    if (w.phase == -1)
        CatchUp(osc, ms);
    else
        w.phase += base[size_t(osc)] * factor * (ms - w.lastMs) / 1000;
    w.lastMs = ms;
    return w.phase;
}

void CVoice::CatchUp(int osc, double ms) {
    WAVE_PITCH& w = oscillators[size_t(osc)];
    const auto k = size_t(osc);
    if (ms == 0) {
        w.phase = 0;
        return;
    }
    const int stream = streamOf[k];
    if (!streams[size_t(stream)].Valid()) {
        w.phase = 0; // times without a frame grid: the voice is silent anyway
        return;
    }
    const int64_t n = streams[size_t(stream)].StopFrame(ms);
    if (osc > 0 && track->operators[k - 1].feedback)
        w.feedbackMemory = FeedbackCatchUp(osc, n, ms);
    w.phase = base[k] * StreamPoint(stream, n).sum;
}

CATCH_UP_POINT CVoice::StreamPoint(int stream, int64_t frame) {
    const auto s = size_t(stream);
    if (!memoValid[s] || memo[s].frame != frame) {
        memo[s] = streams[s].SumTo(frame);
        memoValid[s] = true;
    }
    return memo[s];
}

// The catch-up updates the feedback memory on every frame it integrates, with the
// operator's envelope and amplitude LFO taken at the requested time, so its gain g is one
// constant: fb = g * sin(2^(detune/3072) * phase_i * 2 pi + fb * 8 pi). Only the last
// frames before the requested one matter to the result (FeedbackWindow); the recurrence is
// replayed over those, starting from the exact phase at the window's start.
double CVoice::FeedbackCatchUp(int osc, int64_t frame, double ms) {
    const auto k = size_t(osc);
    const FM_OPERATOR_VOICE& op = track->operators[k - 1];
    const double gain = (1 + op.ampLfo.GetValue(ms, times->lengthMs)) *
                        operatorEnvelopes[k - 1].GetLevel(ms) * op.levelFraction *
                        op.feedbackFactor;
    if (gain == 0 || !std::isfinite(gain))
        return 0;
    const CPitchStream& pitch = streams[size_t(streamOf[k])];
    const int64_t first = std::max(pitch.Start().frame + 1, frame - FeedbackWindow(gain) + 1);
    CATCH_UP_POINT p = pitch.SumTo(first - 1);
    double memory = 0;
    while (p.frame < frame) {
        pitch.Step(p);
        const double phase = base[k] * p.sum;
        memory = gain * voice::SinCycles(op.detunePhase * phase + memory * 4);
    }
    return std::isfinite(memory) ? memory : 0;
}

double CVoice::WaveMemory(double phase) const {
    const int32_t count = track->waveCount;
    // A table without samples or with a height below 2 has no scale: silence.
    if (count <= 0 || track->waveDivisor <= 0)
        return 0;
    double index = std::trunc(voice::Frac(phase) * count);
    if (index < 0)
        index += count; // a phase that ran backwards reads the cycle from its end
    if (!(index >= 0 && index < count))
        index = 0;
    return track->waveSamples[static_cast<size_t>(index)] / double(track->waveDivisor);
}

namespace {

// The eight FM connection graphs. Operators are computed in `order`; operator k's input is
// the sum of the outputs listed in inputs[k] (in that order, -1 ends a list) and the
// voice's output is the sum of `carriers`.
struct FM_WIRING {
    std::array<int8_t, 4> order;
    std::array<std::array<int8_t, 2>, 4> inputs;
    std::array<int8_t, 4> carriers;
};

constexpr int8_t kNone = -1;
constexpr std::array<FM_WIRING, 8> kWirings = {{
    // 0: O4(O3(O2(O1(0))))
    {{0, 1, 2, 3},
     {{{kNone, kNone}, {0, kNone}, {1, kNone}, {2, kNone}}},
     {3, kNone, kNone, kNone}},
    // 1: O4(O3(O1(0) + O2(0)))
    {{0, 1, 2, 3},
     {{{kNone, kNone}, {kNone, kNone}, {0, 1}, {2, kNone}}},
     {3, kNone, kNone, kNone}},
    // 2: O4(O3(O2(0)) + O1(0))
    {{1, 2, 0, 3},
     {{{kNone, kNone}, {kNone, kNone}, {1, kNone}, {2, 0}}},
     {3, kNone, kNone, kNone}},
    // 3: O4(O2(O1(0)) + O3(0))
    {{0, 1, 2, 3},
     {{{kNone, kNone}, {0, kNone}, {kNone, kNone}, {1, 2}}},
     {3, kNone, kNone, kNone}},
    // 4: O2(O1(0)) + O4(O3(0))
    {{0, 1, 2, 3},
     {{{kNone, kNone}, {0, kNone}, {kNone, kNone}, {2, kNone}}},
     {1, 3, kNone, kNone}},
    // 5: O2(a) + O3(a) + O4(a), a = O1(0)
    {{0, 1, 2, 3}, {{{kNone, kNone}, {0, kNone}, {0, kNone}, {0, kNone}}}, {1, 2, 3, kNone}},
    // 6: O2(O1(0)) + O3(0) + O4(0)
    {{0, 1, 2, 3},
     {{{kNone, kNone}, {0, kNone}, {kNone, kNone}, {kNone, kNone}}},
     {1, 2, 3, kNone}},
    // 7: O1(0) + O2(0) + O3(0) + O4(0)
    {{0, 1, 2, 3},
     {{{kNone, kNone}, {kNone, kNone}, {kNone, kNone}, {kNone, kNone}}},
     {0, 1, 2, 3}},
}};

} // namespace

void CVoice::FmBlock(BLOCK& b) {
    const int32_t n = b.count;
    double* out = b.value;
    if (track->algorithm < 0 || track->algorithm >= int32_t(kWirings.size())) {
        std::fill(out, out + n, 0.0);
        return;
    }
    const FM_WIRING& wiring = kWirings[size_t(track->algorithm)];
    double outputs[4][kBlock];
    double sum[kBlock];
    for (const int8_t k : wiring.order) {
        const auto& in = wiring.inputs[size_t(k)];
        const double* m = nullptr;
        if (in[1] != kNone) {
            for (int32_t j = 0; j < n; ++j)
                sum[j] = outputs[in[0]][j] + outputs[in[1]][j];
            m = sum;
        } else if (in[0] != kNone) {
            m = outputs[in[0]];
        }
        OperatorBlock(k, b, m, outputs[k]);
    }
    std::copy(outputs[wiring.carriers[0]], outputs[wiring.carriers[0]] + n, out);
    for (size_t c = 1; c < wiring.carriers.size() && wiring.carriers[c] != kNone; ++c)
        for (int32_t j = 0; j < n; ++j)
            out[j] += outputs[wiring.carriers[c]][j];
}

void CVoice::OperatorBlock(int index, const BLOCK& b, const double* m, double* out) {
    const auto i = size_t(index);
    const int32_t n = b.count;
    if (!operatorOn[i]) {
        std::fill(out, out + n, 0.0);
        return;
    }
    const FM_OPERATOR_VOICE& op = track->operators[i];
    double own[kBlock], phase[kBlock], gain[kBlock];
    Phases(index + 1, b, OperatorPitch(index, b, own), phase);
    OperatorGain(index, b, gain);
    // No modulation is a modulation of 0 throughout: one loop without a branch, which the
    // compiler can vectorise.
    double none[kBlock];
    if (m == nullptr) {
        std::fill(none, none + n, 0.0);
        m = none;
    }
    // sin(2^(detune/3072) * phase * 2 pi + (feedback + modulation) * 8 pi), in cycles.
    if (!op.feedback) {
        for (int32_t j = 0; j < n; ++j) {
            const double amp = gain[j] * voice::SinCycles(op.detunePhase * phase[j] + m[j] * 4);
            out[j] = std::isfinite(amp) ? amp : 0;
        }
        return;
    }
    double memory = oscillators[i + 1].feedbackMemory;
    for (int32_t j = 0; j < n; ++j) {
        const double modulation = m[j];
        double amp =
            gain[j] * voice::SinCycles(op.detunePhase * phase[j] + (memory + modulation) * 4);
        if (!std::isfinite(amp))
            amp = 0;
        memory = amp * op.feedbackFactor;
        out[j] = amp;
    }
    oscillators[i + 1].feedbackMemory = memory;
}

const double* CVoice::OperatorPitch(int index, const BLOCK& b, double* own) const {
    const auto stream = size_t(streamOf[size_t(index) + 1]);
    if (stream == 0)
        return b.pitch;
    PitchFactors(streams[stream], b, own);
    return own;
}

void CVoice::OperatorGain(int index, const BLOCK& b, double* gain) const {
    const auto i = size_t(index);
    const int32_t n = b.count;
    const CLfoShape& tremolo = track->operators[i].ampLfo;
    const double lengthMs = times->lengthMs;
    double flatLevel = 0;
    if (operatorEnvelopes[i].ConstantOver(b.ms[0], b.ms[n - 1], flatLevel))
        std::fill(gain, gain + n, flatLevel);
    else
        for (int32_t j = 0; j < n; ++j)
            gain[j] = operatorEnvelopes[i].GetLevel(b.ms[j]);
    if (!tremolo.Running(b.ms[n - 1], lengthMs))
        return;
    double value[kBlock];
    std::fill(value, value + n, 0.0);
    tremolo.AddValues(b.ms, n, lengthMs, value);
    for (int32_t j = 0; j < n; ++j)
        gain[j] *= 1 + value[j];
}
