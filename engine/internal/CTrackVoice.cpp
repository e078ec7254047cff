#include "engine/internal/CTrackVoice.h"

#include "engine/internal/VoiceMath.h"
#include "model/CProjectData.h"
#include "model/CTrackData.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

FM_OPERATOR_VOICE MakeOperator(const CFMOperator& op, int32_t trackDetune) {
    FM_OPERATOR_VOICE v;
    // A multiple that is not finite (damaged file) would make every phase NaN.
    v.on = op.envelope.level != 0 && std::isfinite(op.multiple);
    v.feedbackFactor = voice::FeedbackFactor(op.feedback);
    v.feedback = v.feedbackFactor != 0;
    v.detunePhase = std::exp2(op.detune / 3072.0);
    v.levelFraction = op.envelope.level / 255.0;
    v.multiple = op.multiple;
    v.detuneSemitones = (double(op.detune) + trackDetune) / 256;
    v.pitchLfo = CLfoShape(op.pitchLFO);
    v.ampLfo = CLfoShape(op.ampLFO);
    v.envelope = op.envelope;
    return v;
}

} // namespace

CTrackVoice::CTrackVoice(const CTrackData& settings, const CProjectData& song)
    : waveform(settings.waveform), invert(settings.invert != 0), pseudoWave(settings.pseudoWave),
      squareHighPart(0.5 + settings.duty / 512.0), gain(settings.volume / 255.0),
      pan(std::clamp(settings.pan, -kMaxPan, kMaxPan)), detuneSemitones(settings.detune / 256.0),
      transpose(song.transpose), rate(song.samplesPerSec),
      clickReduction(song.reductionPuchiNoise != 0), envelope(settings.envelope),
      pitchLfo(settings.pitchLFO), ampLfo(settings.ampLFO), algorithm(settings.fm.algorithm) {
    if (waveform == kPcm)
        pcm = CPcmVoice(settings.pcm);
    const auto& table = settings.waveMemory.samples;
    if (table.size() <= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        waveSamples = table.data();
        waveCount = static_cast<int32_t>(table.size());
    }
    waveDivisor = settings.waveMemory.height / 2;
    for (size_t i = 0; i < operators.size(); ++i)
        operators[i] = MakeOperator(settings.fm.operators[i], settings.detune);
}
