#pragma once
// A deliberately plain implementation of the note sample function, used to check the fast
// renderer: every quantity is derived afresh on every call through the tempo list, the
// phase cache is searched backwards, and a new oscillator is integrated from its note's
// start frame by frame. That integration sums tens of thousands of steps; it accumulates
// in long double so that its own rounding (which FM modulation chains amplify by 8 pi per
// stage) does not hide the differences the comparison is looking for.

#include "engine/NoiseTable.h"
#include "model/CProject.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace ref {

struct Entry {
    const CNote* note;
    const CTrack* track;
    const CFMOperator* op;
    double phase = -1;
    double lastMs = 0;
    double feedbackMemory = 0;
};
using Cache = std::vector<Entry>;

constexpr double kPi = 3.14159265358979323846;

inline double NoteStart(const CNote& n, const CProject& p) {
    return p.data.tempos.TicksToSeconds(0, n.position);
}
inline double NoteEnd(const CNote& n, const CProject& p) {
    return p.data.tempos.TicksToSeconds(0, n.position + n.length);
}
inline double Ms(double t, const CNote& n, const CProject& p) {
    return (t - NoteStart(n, p)) * 1000;
}
inline double KeyOffMs(const CNote& n, const CProject& p) {
    return 1000 * p.data.tempos.TicksToSeconds(n.position, n.position + n.length - n.keyoff);
}

inline double LfoValue(const CLFO& lfo, double t, const CNote& n, const CProject& p) {
    if (lfo.period == 0 || lfo.depth == 0)
        return 0;
    const double ms = Ms(t, n, p);
    double x = ms;
    if (lfo.delay < 0)
        x = ms - (NoteEnd(n, p) - NoteStart(n, p)) * 1000;
    if (x < lfo.delay)
        return 0;
    const double c = (x - lfo.delay) / lfo.period;
    double w = 0;
    if (lfo.waveform == 0) {
        w = std::fmod(c, 1) < 0.5 ? 1 : -1;
    } else if (lfo.waveform == 1) {
        const double y = std::fmod(4 * c, 4);
        w = y <= 1 ? y : y <= 3 ? 2 - y : y - 4;
    } else if (lfo.waveform == 2) {
        w = 1 - std::fmod(2 * c, 2);
    } else if (lfo.waveform == 3) {
        w = std::sin(2 * kPi * c);
    }
    if (lfo.invert)
        w = -w;
    if (x < lfo.delay + lfo.fade)
        w = w * (x - lfo.delay) / lfo.fade;
    return lfo.depth * w / 256;
}

inline double KeyScale(const CEnvelope& e, const CProject& p, const CNote& n) {
    return 1 - ((p.data.transpose - n.key + 95) / 96.0) * e.keyScaling / 16;
}

inline double Ads(const CEnvelope& e, double s, double y) {
    const double D = e.delay * s, A = e.attack * s, Dc = e.decay * s;
    const double L0 = e.attackLevel / 255.0, Ls = e.sustainLevel / 255.0;
    double v;
    if (y < D)
        v = 0;
    else if (y < D + A)
        v = (y - D) * (1 - L0) / A + L0;
    else if (y < D + A + Dc)
        v = 1 - ((y - D - A) / Dc) * (1 - Ls);
    else if (e.sustain > 0)
        v = Ls - (y - D - A - Dc) * Ls / (e.sustain * s);
    else if (e.sustain == 0)
        v = 0;
    else
        v = Ls;
    return v < 0 ? 0 : v;
}

inline double Curve(double e, int curve) {
    if (curve == 1)
        return e < 0.5 ? (std::pow(16, 2 * e) - 1) / 15 * 0.5
                       : 1 - (std::pow(16, 2 * (1 - e)) - 1) / 15 * 0.5;
    if (curve == 2)
        return e * e;
    return e;
}

inline double Level(const CEnvelope& e, double t, const CProject& p, const CNote& n) {
    const double s = KeyScale(e, p, n);
    const double ms = Ms(t, n, p);
    double x = ms;
    if (e.delay < 0)
        x = ms - (NoteEnd(n, p) - NoteStart(n, p)) * 1000;
    const double keyOff = KeyOffMs(n, p);
    double v;
    if (x > keyOff) {
        const double K = Ads(e, s, keyOff);
        if (e.release < 0)
            v = K;
        else if (e.release * s == 0)
            v = 0;
        else
            v = std::max(K - (x - keyOff) * K / (e.release * s), 0.0);
    } else {
        v = Ads(e, s, x);
    }
    v *= std::pow(10, -4.8 * (1 - e.level / 255.0));
    return Curve(v, e.curve);
}

inline double ReleaseTime(const CEnvelope& e, const CProject& p, const CNote& n) {
    if (e.release == 0)
        return 0;
    const double s = KeyScale(e, p, n);
    const double K = Ads(e, s, KeyOffMs(n, p));
    if (e.release < 0)
        return (NoteEnd(n, p) - NoteStart(n, p)) - KeyOffMs(n, p) / 1000;
    return K * e.release * s / 1000;
}

inline double Frequency(const CNote& n, double t, const CProject& p, const CTrack& track,
                        const CFMOperator* o) {
    double b = 0;
    if (n.portamentoLength != 0 && n.portamentoLevel != 0) {
        const double ps = p.data.tempos.TicksToSeconds(0, n.position + n.portamentoStart);
        const double pe =
            p.data.tempos.TicksToSeconds(0, n.position + n.portamentoStart + n.portamentoLength);
        if (t < ps)
            b = 0;
        else if (t >= pe)
            b = n.portamentoLevel;
        else
            b = (t - ps) * n.portamentoLevel / (pe - ps);
        b = b / 256;
    }
    const CTrackData& d = track.settings;
    const double v = LfoValue(d.pitchLFO, t, n, p);
    if (o == nullptr) {
        if (d.waveform == 4)
            return 512 * std::pow(2, (95 - n.key + d.detune / 256.0 + v + b) / 12);
        return 27.5 * std::pow(2, (p.data.transpose - n.key + 98 + d.detune / 256.0 + v + b) / 12);
    }
    const double vo = LfoValue(o->pitchLFO, t, n, p);
    return 27.5 * o->multiple *
           std::pow(2,
                    ((o->detune + d.detune) / 256.0 + v + vo + b + p.data.transpose - n.key + 98) /
                        12);
}

inline double Factor(int feedback) {
    static const double f[8] = {0, 1 / 128.0, 1 / 64.0, 1 / 32.0, 1 / 16.0, 1 / 8.0, 0.25, 0.5};
    return f[feedback];
}

inline double Phase(const CNote& n, double t, const CProject& p, const CTrack& track, Cache& cache,
                    const CFMOperator* o) {
    Entry* e = nullptr;
    for (size_t i = cache.size(); i-- > 0;)
        if (cache[i].note == &n && cache[i].track == &track && cache[i].op == o) {
            e = &cache[i];
            break;
        }
    if (e == nullptr) {
        cache.push_back({&n, &track, o});
        e = &cache.back();
    }
    const double ms = Ms(t, n, p);
    double phase;
    if (e->phase == -1) {
        phase = 0;
        long double sum = 0;
        if (ms != 0) {
            const double r = p.data.samplesPerSec;
            const double noteStart = NoteStart(n, p);
            double i = std::ceil(r * noteStart);
            double prevMs = 0;
            for (;;) {
                const double ti = i / r;
                const double msi = (ti - noteStart) * 1000;
                sum +=
                    static_cast<long double>(Frequency(n, ti, p, track, o)) * (msi - prevMs) / 1000;
                phase = static_cast<double>(sum);
                if (o != nullptr && o->feedback != 0)
                    e->feedbackMemory = (1 + LfoValue(o->ampLFO, t, n, p)) *
                                        Level(o->envelope, t, p, n) *
                                        std::sin(std::pow(2, o->detune / 3072.0) * phase * 2 * kPi +
                                                 e->feedbackMemory * 8 * kPi) *
                                        (o->envelope.level / 255.0) * Factor(o->feedback);
                if (msi >= ms)
                    break;
                i += 1;
                prevMs = msi;
            }
        }
    } else {
        phase = e->phase + Frequency(n, t, p, track, o) * (ms - e->lastMs) / 1000;
    }
    e->phase = phase;
    e->lastMs = ms;
    return phase;
}

inline double Pcm(const CPCM& pcm, double phase, int noteKey) {
    if (pcm.sampleData.empty())
        return 0;
    const double r = pcm.sampleFormat.samplesPerSec;
    const int c = pcm.sampleFormat.channels, w = pcm.sampleFormat.bitsPerSample;
    const double N = double(pcm.sampleData.size());
    const double fNote = 27.5 * std::pow(2, (98 - noteKey) / 12.0);
    const double fBase = 27.5 * std::pow(2, (98 - pcm.baseKey) / 12.0);
    double pos = phase / fBase * r;
    if (pcm.loopCount != 1) {
        double s0, s1;
        if (pcm.loopUnit == 0) {
            s0 = pcm.loopStart * r * fNote / fBase / 1000;
            s1 = pcm.loopEnd == 0 ? (N / c * 8 / w) * fNote / fBase
                                  : pcm.loopEnd * r * fNote / fBase / 1000;
        } else {
            s0 = pcm.loopStart;
            s1 = pcm.loopEnd == 0 ? N / c * 8 / w : pcm.loopEnd;
        }
        if (s0 < s1) {
            if (pcm.loopCount == 0)
                while (pos >= s1)
                    pos -= s1 - s0;
            else
                for (int k = 0; k < pcm.loopCount - 1 && pos >= s1; ++k)
                    pos -= s1 - s0;
        }
    }
    if (c != 1 && c != 2)
        return 0;
    const long long a = static_cast<long long>(std::trunc(pos));
    const double frac = pos - std::floor(pos);
    const size_t fb = size_t(c) * size_t(w / 8);
    auto inside = [&](long long f) {
        return f >= 0 && (size_t(f) + 1) * fb <= pcm.sampleData.size();
    };
    const uint8_t* d = pcm.sampleData.data();
    auto intSample = [&](size_t o) -> long long {
        if (w == 8)
            return int(d[o]) - 128;
        if (w == 16)
            return int16_t(d[o] | (d[o + 1] << 8));
        int32_t v = d[o] | (d[o + 1] << 8) | (d[o + 2] << 16);
        if (v & 0x800000)
            v -= 0x1000000;
        return v;
    };
    auto floatSample = [&](size_t o) -> double {
        if (w == 32) {
            float f;
            std::memcpy(&f, d + o, 4);
            return f;
        }
        double x;
        std::memcpy(&x, d + o, 8);
        return x;
    };
    if (w == 32 || w == 64) {
        auto frame = [&](long long f) -> double {
            if (!inside(f))
                return 0;
            const size_t o = size_t(f) * fb;
            return c == 1 ? floatSample(o) : (floatSample(o) + floatSample(o + fb / 2)) / 2;
        };
        const double x = frame(a), y = frame(a + 1);
        return x + frac * (y - x);
    }
    if (w != 8 && w != 16 && w != 24)
        return 0;
    auto frame = [&](long long f) -> long long {
        if (!inside(f))
            return 0;
        const size_t o = size_t(f) * fb;
        return c == 1 ? intSample(o) : (intSample(o) + intSample(o + fb / 2)) / 2;
    };
    const long long x = frame(a), y = frame(a + 1);
    const double M = w == 8 ? 127 : w == 16 ? 32767 : 8388607;
    return (std::floor(frac * double(y - x) + 0.5) + double(x)) / M;
}

inline double Operator(const CFMOperator& o, double t, const CProject& p, const CTrack& track,
                       const CNote& n, Cache& cache, double m) {
    if (o.envelope.level == 0)
        return 0;
    const double phase = Phase(n, t, p, track, cache, &o);
    Entry* e = nullptr;
    for (size_t i = cache.size(); i-- > 0;)
        if (cache[i].note == &n && cache[i].track == &track && cache[i].op == &o) {
            e = &cache[i];
            break;
        }
    const double fb = o.feedback != 0 ? e->feedbackMemory : 0;
    const double out =
        std::sin(std::pow(2, o.detune / 3072.0) * phase * 2 * kPi + (fb + m) * 8 * kPi);
    const double amp = Level(o.envelope, t, p, n) * (1 + LfoValue(o.ampLFO, t, n, p)) * out;
    if (o.feedback != 0)
        e->feedbackMemory = amp * Factor(o.feedback);
    return amp;
}

inline double Fm(double t, const CProject& p, const CTrack& track, const CNote& n, Cache& cache) {
    const auto& ops = track.settings.fm.operators;
    auto O = [&](int k, double m) {
        return Operator(ops[size_t(k - 1)], t, p, track, n, cache, m);
    };
    switch (track.settings.fm.algorithm) {
    case 0: {
        double a = O(1, 0);
        double b = O(2, a);
        double c = O(3, b);
        return O(4, c);
    }
    case 1: {
        double a = O(1, 0);
        double b = O(2, 0);
        double c = O(3, a + b);
        return O(4, c);
    }
    case 2: {
        double a = O(2, 0);
        double b = O(3, a);
        double c = O(1, 0);
        return O(4, b + c);
    }
    case 3: {
        double a = O(1, 0);
        double b = O(2, a);
        double c = O(3, 0);
        return O(4, b + c);
    }
    case 4: {
        double a = O(1, 0);
        double b = O(2, a);
        double c = O(3, 0);
        double d = O(4, c);
        return b + d;
    }
    case 5: {
        double a = O(1, 0);
        double b = O(2, a);
        double c = O(3, a);
        double d = O(4, a);
        return b + c + d;
    }
    case 6: {
        double a = O(1, 0);
        double b = O(2, a);
        double c = O(3, 0);
        double d = O(4, 0);
        return b + c + d;
    }
    case 7: {
        double a = O(1, 0);
        double b = O(2, 0);
        double c = O(3, 0);
        double d = O(4, 0);
        return a + b + c + d;
    }
    default:
        return 0;
    }
}

inline double Click(const CNote& n, double t, const CProject& p, const CTrack& track) {
    if (p.data.reductionPuchiNoise == 0)
        return 1;
    const double soundLen =
        std::min(NoteEnd(n, p) - NoteStart(n, p),
                 KeyOffMs(n, p) / 1000 + ReleaseTime(track.settings.envelope, p, n));
    const double ms = Ms(t, n, p);
    const double d = ms - track.settings.envelope.delay;
    double gain;
    if (d < 5)
        gain = 1 - (std::pow(64, 1 - d / 5) - 1) / 63;
    else if (ms > soundLen * 1000 - 5)
        gain = 1 - (std::pow(64, 1 - (soundLen * 1000 - ms) / 5) - 1) / 63;
    else
        gain = 1;
    return gain < 0 ? 0 : gain;
}

inline double Fade(double t, const CProject& p) {
    const double T = p.GetLength();
    const double F = p.data.fadeOut;
    if (t * 1000 < T * 1000 - F)
        return 1;
    const double g = (F - (t * 1000 - (T * 1000 - F))) / F;
    return Curve(g, p.data.fadeOutType);
}

inline double NoteSample(const CNote& n, double t, const CProject& p, const CTrack& track,
                         Cache& cache, bool applyFade) {
    const CTrackData& d = track.settings;
    const double phase = Phase(n, t, p, track, cache, nullptr);
    double v = 0;
    switch (d.waveform) {
    case 0:
        v = std::fmod(phase, 1) < 0.5 + d.duty / 512.0 ? 1 : -1;
        break;
    case 1: {
        const double x = std::fmod(4 * phase, 4);
        v = x <= 1 ? x : x <= 3 ? 2 - x : x - 4;
        break;
    }
    case 2:
        v = 1 - std::fmod(2 * phase, 2);
        break;
    case 3:
        v = std::sin(2 * kPi * phase);
        break;
    case 4:
        v = NoiseTable()[size_t(static_cast<long long>(std::floor(phase)) % 4095)];
        break;
    case 5:
        v = Pcm(d.pcm, phase, n.key);
        break;
    case 6: {
        const auto& s = d.waveMemory.samples;
        const size_t index = size_t(std::trunc(std::fmod(phase, 1) * double(s.size())));
        v = s[index] / double(d.waveMemory.height / 2);
        break;
    }
    case 7:
        v = Fm(t, p, track, n, cache);
        break;
    }
    if (d.invert == 1)
        v = -v;
    if (d.pseudoWave > 1)
        v = std::trunc((v + 1) * d.pseudoWave * 0.5) / (d.pseudoWave - 1) * 2 - 1;
    v *= Level(d.envelope, t, p, n);
    const int tick = p.data.tempos.SecondsToTicks(t);
    int master = 0;
    for (const VOLUME& vol : p.data.volumes)
        if (vol.position <= tick)
            master = vol.volume;
    v = v * (d.volume / 255.0) * (master / 255.0) * (n.volume / 255.0);
    if (applyFade)
        v *= Fade(t, p);
    v *= (1 + LfoValue(d.ampLFO, t, n, p)) * Click(n, t, p, track);
    return v;
}

// One second of the song, frame by frame, with a fresh cache.
inline std::vector<double> RenderSecond(const CProject& p, int second, int frames) {
    const int ch = p.data.channels;
    std::vector<double> out(size_t(frames) * size_t(ch), 0.0);
    Cache cache;
    for (int j = 0; j < frames; ++j) {
        const double t = double(j) / p.data.samplesPerSec + second;
        double m = 0, l = 0, r = 0;
        for (const CTrack& track : p.tracks) {
            if (track.settings.mute)
                continue;
            const int tick = p.data.tempos.SecondsToTicks(t);
            const size_t bucket = size_t(tick / 1920);
            if (bucket >= track.BucketCount())
                continue;
            double v = 0;
            for (const CNote* s : track.Bucket(bucket))
                if (s->position <= tick && tick < s->position + s->length)
                    v += NoteSample(*s, t, p, track, cache, true);
            m += v;
            if (v != 0) {
                const int pan = track.settings.pan;
                l += (256 - std::max(pan, 0)) * v / 256;
                r += (256 - std::max(-pan, 0)) * v / 256;
            }
        }
        if (ch == 1) {
            out[size_t(j)] = m;
        } else {
            out[2 * size_t(j)] = l;
            out[2 * size_t(j) + 1] = r;
        }
    }
    return out;
}

} // namespace ref
