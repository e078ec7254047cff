#include "dialogs/WaveCycle.h"

#include "engine/Voice.h"
#include "model/CPCM.h"

#include <algorithm>
#include <cmath>

namespace wavecycle {

namespace {

constexpr int32_t kBaseKey = 59;

// A cycle shorter than the wave: linear between frames, the last leading to the first.
std::vector<double> Stretch(const std::vector<double>& cycle, size_t count) {
    const size_t n = cycle.size();
    std::vector<double> out(count);
    for (size_t i = 0; i < count; ++i) {
        const double at = double(i) * double(n) / double(count);
        const auto a = static_cast<size_t>(at);
        const double next = cycle[(a + 1) % n];
        out[i] = cycle[a] + (at - double(a)) * (next - cycle[a]);
    }
    return out;
}

// A cycle longer than the wave: frame j belongs to the sample nearest to it.
std::vector<double> Shrink(const std::vector<double>& cycle, size_t count) {
    const size_t n = cycle.size();
    std::vector<double> sum(count, 0.0);
    std::vector<size_t> frames(count, 0);
    for (size_t j = 0; j < n; ++j) {
        const size_t sample = (2 * j * count + n) / (2 * n) % count;
        sum[sample] += cycle[j];
        ++frames[sample];
    }
    for (size_t i = 0; i < count; ++i)
        sum[i] /= double(frames[i]);
    return sum;
}

} // namespace

size_t FrameCount(const WAVE_FORMAT& format, size_t bytes) {
    const int bits = format.bitsPerSample;
    const bool playable = (format.channels == 1 || format.channels == 2) &&
                          format.samplesPerSec > 0 &&
                          (bits == 8 || bits == 16 || bits == 24 || bits == 32 || bits == 64);
    return playable ? bytes / (size_t(format.channels) * size_t(bits / 8)) : 0;
}

// Through the PCM voice at its base key, where a phase of rate / f(base) cycles is one frame,
// so the file's values are what a PCM track would play.
std::vector<double> Frames(const WAVE_FORMAT& format, std::vector<uint8_t> data) {
    const size_t count = FrameCount(format, data.size());
    CPCM pcm;
    pcm.baseKey = kBaseKey;
    pcm.sampleFormat = format;
    pcm.sampleData = std::move(data);
    const double cyclesPerFrame =
        27.5 * std::exp2((98.0 - kBaseKey) / 12) / double(format.samplesPerSec);
    std::vector<double> frames(count);
    for (size_t f = 0; f < count; ++f)
        frames[f] = GetPcmSample(pcm, double(f) * cyclesPerFrame, kBaseKey);
    return frames;
}

CWaveMemory Quantise(const std::vector<double>& cycle, int32_t count, int32_t height) {
    CWaveMemory wave;
    wave.height = height;
    wave.samples.assign(size_t(std::max(count, 1)), 0);
    if (cycle.empty())
        return wave;
    const size_t n = wave.samples.size();
    const std::vector<double> values = cycle.size() == n  ? cycle
                                       : cycle.size() < n ? Stretch(cycle, n)
                                                          : Shrink(cycle, n);
    double peak = 0;
    for (double v : values)
        peak = std::max(peak, std::abs(v));
    if (peak == 0)
        return wave;
    const int32_t top = height / 2;
    for (size_t i = 0; i < n; ++i)
        wave.samples[i] =
            std::clamp(static_cast<int32_t>(std::lround(values[i] / peak * top)), -top, top);
    return wave;
}

} // namespace wavecycle
