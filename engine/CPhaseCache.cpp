#include "engine/CPhaseCache.h"

#include "engine/internal/CNoteTimes.h"
#include "engine/internal/CTrackVoice.h"
#include "engine/internal/CVoice.h"
#include "model/CProject.h"

struct CPhaseCache::Entry {
    Entry(const CNote& note, const CProject& project, const CTrack& track)
        : note(&note), track(&track), trackVoice(track.settings, project.data),
          times(note, project.data.tempos), voice(trackVoice, times, note, &track) {}
    const CNote* note;
    const CTrack* track;
    CTrackVoice trackVoice;
    CNoteTimes times;
    CVoice voice; // refers to trackVoice and times: the entry never moves
};

CPhaseCache::CPhaseCache() = default;
CPhaseCache::~CPhaseCache() = default;
CPhaseCache::CPhaseCache(CPhaseCache&&) noexcept = default;
CPhaseCache& CPhaseCache::operator=(CPhaseCache&&) noexcept = default;

void CPhaseCache::Clear() {
    entries.clear();
}

const WAVE_PITCH* CPhaseCache::Find(const CNote* note, const CTrack* track,
                                    const CFMOperator* fmOperator) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if ((*it)->note != note || (*it)->track != track)
            continue;
        for (int k = 0; k < CVoice::kOscillators; ++k) {
            const WAVE_PITCH& w = (*it)->voice.Oscillator(k);
            if (w.fmOperator == fmOperator)
                return &w;
        }
    }
    return nullptr;
}

CVoice& CPhaseCache::VoiceFor(const CNote& note, const CProject& project, const CTrack& track) {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if ((*it)->note == &note && (*it)->track == &track)
            return (*it)->voice;
    entries.push_back(std::make_unique<Entry>(note, project, track));
    return entries.back()->voice;
}
