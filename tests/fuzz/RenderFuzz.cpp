// Fuzz entry point of the renderer: the first byte chooses how the rest becomes a song
// (even: project file bytes, odd: the JSON text of "--convert"), and whatever loads is
// rendered for up to one second and converted to its output format. Extreme envelopes,
// LFOs, FM settings, wave tables, loop points, rates, sample widths and tempo lists must
// render without undefined behaviour, runaway allocation or a hang (the fuzzer's timeout).

#include "app/ProjectJson.h"
#include "engine/CSongRenderer.h"
#include "engine/internal/BuildConvert.h"
#include "model/CProject.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace {

// Songs of millions of buckets load, but rendering them teaches the search nothing new.
bool IsSmall(const CProject& project) {
    size_t buckets = 0;
    for (const CTrack& t : project.tracks)
        buckets += t.BucketCount();
    return buckets < 100000 && project.tracks.size() < 64;
}

class ConvertingSink : public IRenderSink {
public:
    ConvertingSink(int bits, int channels) : m_bits(bits), m_channels(channels) {}
    void Consume(int32_t, int32_t count, const double* values) override {
        const size_t n = static_cast<size_t>(count) * static_cast<size_t>(m_channels);
        m_bytes.resize(n * 8);
        ConvertSamples(values, n, m_bits, m_bytes.data());
    }

private:
    int m_bits;
    int m_channels;
    std::vector<uint8_t> m_bytes;
};

void RenderOneSecond(const CProject& project) {
    const CSongRenderer renderer(project);
    const int rate = renderer.Rate();
    if (rate < 1 || rate > 384000 || renderer.Channels() < 1 || renderer.Channels() > 2)
        std::abort();
    ConvertingSink sink(project.data.bitsPerSample, renderer.Channels());
    renderer.RenderSecond(0, rate, sink);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    CProject project;
    const std::span<const uint8_t> rest(data + 1, size - 1);
    const bool loaded =
        (data[0] & 1) == 0
            ? static_cast<bool>(project.LoadFromBytes(rest))
            : static_cast<bool>(ProjectFromJson(
                  std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()),
                  project));
    if (loaded && IsSmall(project))
        RenderOneSecond(project);
    return 0;
}
