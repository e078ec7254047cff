// Writes the drum samples of the example songs and of the factory presets' PCM kit: a
// synthesised kick drum (a sine falling from about 155 Hz to 45 Hz with a short click) and
// the rest of the kit (ExampleDrums.h), 22050 Hz, 16-bit mono, as plain WAV files that the
// strict sample reader accepts.
//
// Usage: make_example_sample OUT.wav [kick|snare|closed-hat|open-hat|clap|tom|crash]

#include "ExampleDrums.h"

#include "model/LittleEndian.h"
#include "model/WavHeader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = exampledrums::kRate;
constexpr double kSeconds = 0.42;

std::vector<int16_t> Kick() {
    const int frames = int(kRate * kSeconds);
    std::vector<int16_t> out(size_t(frames), 0);
    double phase = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / kRate;
        const double frequency = 45.0 + 110.0 * std::exp(-t / 0.035);
        phase += frequency / kRate;
        const double attack = std::min(1.0, t / 0.002);
        const double body = std::sin(2 * std::numbers::pi * phase) * std::exp(-t / 0.16);
        const double click = std::sin(2 * std::numbers::pi * 2800 * t) * std::exp(-t / 0.0015);
        // The last 20 ms fade out so the sample ends at zero.
        const double tail = std::min(1.0, (kSeconds - t) / 0.02);
        const double v = attack * tail * (0.92 * body + 0.25 * click);
        out[size_t(i)] = int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767 * 0.9));
    }
    return out;
}

std::vector<uint8_t> Wave(const std::vector<int16_t>& samples) {
    const auto dataSize = uint32_t(samples.size() * 2);
    const auto header = MakeWavHeader(WAVE_FORMAT::Pcm(1, kRate, 16), dataSize);
    std::vector<uint8_t> b(header.begin(), header.end());
    b.resize(header.size() + dataSize);
    for (size_t i = 0; i < samples.size(); ++i)
        le::Put16(&b[header.size() + 2 * i], uint16_t(samples[i]));
    return b;
}

std::vector<int16_t> Drum(const std::string& kind, bool& known) {
    known = true;
    if (kind == "kick")
        return Kick();
    for (const exampledrums::DRUM& drum : exampledrums::kKit)
        if (kind == drum.name)
            return drum.make();
    known = false;
    return {};
}

} // namespace

int main(int argc, char** argv) {
    bool known = argc == 2 || argc == 3;
    std::vector<int16_t> samples;
    if (known)
        samples = Drum(argc == 3 ? argv[2] : "kick", known);
    if (!known) {
        std::fprintf(stderr, "usage: make_example_sample OUT.wav "
                             "[kick|snare|closed-hat|open-hat|clap|tom|crash]\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = Wave(samples);
    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
