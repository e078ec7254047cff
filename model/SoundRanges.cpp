#include "model/SoundRanges.h"

#include <algorithm>
#include <cmath>

namespace soundranges {

namespace {

template <class R, size_t N> void ClampFields(R& record, const std::array<FIELD<R>, N>& fields) {
    for (const FIELD<R>& f : fields)
        record.*f.member = f.range.Clamp(record.*f.member);
}

} // namespace

void Clamp(CEnvelope& envelope) {
    ClampFields(envelope, kEnvelopeFields);
}

void Clamp(CLFO& lfo, VALUE_RANGE depth) {
    ClampFields(lfo, kLfoFields);
    lfo.depth = depth.Clamp(lfo.depth);
}

void Clamp(CPCM& pcm) {
    ClampFields(pcm, kPcmFields);
}

// A table of the wrong length is resampled as the wave-memory dialog resizes one, so the
// cycle keeps its shape.
void Clamp(CWaveMemory& wave) {
    wave.height = kWaveHeight.Clamp(wave.height);
    const auto count = static_cast<int32_t>(
        std::min<size_t>(wave.samples.size(), static_cast<size_t>(kWaveSamples.hi) + 1));
    if (!kWaveSamples.Contains(count))
        wave.SetSize(kWaveSamples.Clamp(count), wave.height);
    const VALUE_RANGE sample{-wave.height / 2, wave.height / 2};
    for (int32_t& v : wave.samples)
        v = sample.Clamp(v);
}

// A multiple that is not a number has no nearest value; it takes the default, 1.
void Clamp(CFMOperator& op) {
    Clamp(op.envelope);
    Clamp(op.pitchLFO, kPitchDepth);
    Clamp(op.ampLFO, kAmpDepth);
    ClampFields(op, kOperatorFields);
    op.multiple = std::isnan(op.multiple) ? CFMOperator().multiple
                                          : std::clamp(op.multiple, kMultipleMin, kMultipleMax);
}

void Clamp(CFM& fm) {
    fm.algorithm = kAlgorithm.Clamp(fm.algorithm);
    for (CFMOperator& op : fm.operators)
        Clamp(op);
}

void Clamp(CTrackData& settings) {
    ClampFields(settings, kTrackFields);
    Clamp(settings.pcm);
    Clamp(settings.waveMemory);
    Clamp(settings.fm);
    Clamp(settings.envelope);
    Clamp(settings.pitchLFO, kPitchDepth);
    Clamp(settings.ampLFO, kAmpDepth);
}

} // namespace soundranges
