#include "ExampleDrums.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace exampledrums {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// The same noise on every run, so the generated files never change.
class CNoise {
public:
    double Next() {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 23) - 1.0;
    }

private:
    uint32_t state = 12345;
};

// A band-pass filter (constant peak gain), for the body of noise-based drums.
class CBandPass {
public:
    CBandPass(double centre, double q) {
        const double w = kTwoPi * centre / kRate;
        const double alpha = std::sin(w) / (2 * q);
        const double a0 = 1 + alpha;
        b0 = alpha / a0;
        a1 = -2 * std::cos(w) / a0;
        a2 = (1 - alpha) / a0;
    }
    double Filter(double x) {
        const double y = b0 * (x - x2) - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }

private:
    double b0, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// The six square waves whose clash makes a drum machine's metallic cymbal.
double Metal(double t) {
    static constexpr std::array<double, 6> kFrequencies{205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    double sum = 0;
    for (double f : kFrequencies)
        sum += std::fmod(t * f * 2.8, 1.0) < 0.5 ? 1.0 : -1.0;
    return sum / kFrequencies.size();
}

// Brings a drum to 90 % of full scale with a short fade at its end.
std::vector<int16_t> Finish(std::vector<double> v) {
    double peak = 0;
    for (double x : v)
        peak = std::max(peak, std::abs(x));
    const size_t fade = std::min<size_t>(v.size(), kRate / 100);
    std::vector<int16_t> out(v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        const double tail = std::min(1.0, double(v.size() - i) / double(fade));
        out[i] = int16_t(std::lround(v[i] / peak * tail * 0.9 * 32767));
    }
    return out;
}

template <class F> std::vector<int16_t> Render(double seconds, F&& sample) {
    std::vector<double> v(size_t(seconds * kRate));
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = sample(double(i) / kRate);
    return Finish(std::move(v));
}

std::vector<int16_t> Cymbal(double seconds, double decay) {
    CNoise noise;
    CBandPass bright(8000, 0.7);
    CBandPass ring(7000, 1.5);
    return Render(seconds, [&](double t) {
        const double attack = std::min(1.0, t / 0.001);
        return attack * std::exp(-t / decay) *
               (bright.Filter(noise.Next()) + 1.2 * ring.Filter(Metal(t)));
    });
}

} // namespace

std::vector<int16_t> Snare() {
    CNoise noise;
    CBandPass snares(3500, 0.6);
    double phase = 0;
    return Render(0.3, [&](double t) {
        phase += (175 + 60 * std::exp(-t / 0.01)) / kRate;
        const double body = std::sin(kTwoPi * phase) * std::exp(-t / 0.045);
        const double rattle = snares.Filter(noise.Next()) * std::exp(-t / 0.075);
        return std::min(1.0, t / 0.0008) * (0.8 * body + 1.6 * rattle);
    });
}

std::vector<int16_t> ClosedHat() {
    return Cymbal(0.12, 0.022);
}

std::vector<int16_t> OpenHat() {
    return Cymbal(0.6, 0.17);
}

std::vector<int16_t> Crash() {
    return Cymbal(1.6, 0.55);
}

// Three quick hand claps and the room's echo after them.
std::vector<int16_t> Clap() {
    CNoise noise;
    CBandPass hands(1200, 1.2);
    return Render(0.35, [&](double t) {
        double level = std::exp(-std::max(0.0, t - 0.022) / 0.11);
        for (double start : {0.0, 0.011, 0.022})
            if (t >= start && t < start + 0.011)
                level = std::max(level, std::exp(-(t - start) / 0.004));
        return level * hands.Filter(noise.Next());
    });
}

std::vector<int16_t> Tom() {
    double phase = 0;
    CNoise noise;
    return Render(0.5, [&](double t) {
        phase += (115 + 75 * std::exp(-t / 0.06)) / kRate;
        const double skin = std::sin(kTwoPi * phase) * std::exp(-t / 0.2);
        const double stick = noise.Next() * std::exp(-t / 0.006);
        return std::min(1.0, t / 0.0008) * (skin + 0.3 * stick);
    });
}

} // namespace exampledrums
