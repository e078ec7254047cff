#include "engine/Voice.h"

#include "engine/CPhaseCache.h"
#include "engine/internal/CEnvelopeShape.h"
#include "engine/internal/CLfoShape.h"
#include "engine/internal/CNoteTimes.h"
#include "engine/internal/CPcmVoice.h"
#include "engine/internal/CTrackVoice.h"
#include "engine/internal/CVoice.h"
#include "engine/internal/VoiceMath.h"
#include "model/CProject.h"

namespace {

// Oscillator index of an operator of the track: 0 for the track's own, 1..4 for O1..O4,
// -1 for an operator of some other track.
int OscillatorOf(const CTrack& track, const CFMOperator* fmOperator) {
    if (fmOperator == nullptr)
        return 0;
    const auto& ops = track.settings.fm.operators;
    for (size_t i = 0; i < ops.size(); ++i)
        if (&ops[i] == fmOperator)
            return static_cast<int>(i) + 1;
    return -1;
}

} // namespace

double GetSample(const CNote& note, double t, const CProject& project, const CTrack& track,
                 CPhaseCache& cache, bool applyFade) {
    const CProjectData& data = project.data;
    const double master = data.volumes.VolumeAt(data.tempos.SecondsToTicks(t)) / 255.0;
    const double fade = applyFade ? GetFadeGain(t, project) : 1;
    return cache.VoiceFor(note, project, track).GetSample(t, master, fade);
}

double GetPhase(const CNote& note, double t, const CProject& project, const CTrack& track,
                CPhaseCache& cache, const CFMOperator* fmOperator) {
    const int osc = OscillatorOf(track, fmOperator);
    if (osc < 0)
        return 0;
    return cache.VoiceFor(note, project, track).GetPhase(osc, t);
}

double GetFrequency(const CNote& note, double t, const CProject& project, const CTrack& track,
                    const CFMOperator* fmOperator) {
    const int osc = OscillatorOf(track, fmOperator);
    if (osc < 0)
        return 0;
    const CTrackVoice trackVoice(track.settings, project.data);
    const CNoteTimes times(note, project.data.tempos);
    return CVoice(trackVoice, times, note, &track).GetFrequency(osc, t);
}

double GetLevel(const CEnvelope& envelope, double t, const CProject& project, const CNote& note) {
    const CNoteTimes times(note, project.data.tempos);
    return CEnvelopeShape(envelope, project.data.transpose, note.key, times).GetLevel(times.Ms(t));
}

double GetReleaseTime(const CEnvelope& envelope, const CProject& project, const CNote& note) {
    const CNoteTimes times(note, project.data.tempos);
    return CEnvelopeShape(envelope, project.data.transpose, note.key, times).GetReleaseTime();
}

double GetValue(const CLFO& lfo, double t, const CNote& note, const CTempoList& tempos) {
    const CNoteTimes times(note, tempos);
    return CLfoShape(lfo).GetValue(times.Ms(t), times.lengthMs);
}

double GetPcmSample(const CPCM& pcm, double phase, int32_t noteKey) {
    return CPcmVoice(pcm).GetSample(phase, noteKey);
}

double GetClickGain(const CNote& note, double t, const CProject& project, const CTrack& track) {
    const CTrackVoice trackVoice(track.settings, project.data);
    const CNoteTimes times(note, project.data.tempos);
    return CVoice(trackVoice, times, note, &track).GetClickGain(times.Ms(t));
}

double GetFadeGain(double t, const CProject& project) {
    return voice::FadeGain(t, project.GetLength(), project.data.fadeOut, project.data.fadeOutType);
}
