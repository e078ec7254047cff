#pragma once
// Oscillator state for sampling single notes outside a build: the live preview keeps one
// cache per played key. The first sample of a note makes its entries and derives what its
// samples need that does not change (note times, envelope and LFO constants), so the note
// and its track must stay unchanged while the cache is in use: Clear it after changing
// either. Meant for a few notes at a time; entries are found by a search.

#include "engine/WavePitch.h"

#include <cstddef>
#include <memory>
#include <vector>

class CFMOperator;
class CNote;
class CProject;
class CTrack;
class CVoice;

class CPhaseCache {
public:
    CPhaseCache();
    ~CPhaseCache();
    CPhaseCache(CPhaseCache&&) noexcept;
    CPhaseCache& operator=(CPhaseCache&&) noexcept;

    void Clear();
    // Notes sampled since the last Clear.
    size_t NoteCount() const { return entries.size(); }
    // The oscillator entry of a note of a track (fmOperator null: the track's own).
    const WAVE_PITCH* Find(const CNote* note, const CTrack* track,
                           const CFMOperator* fmOperator) const;

    // The voice of a note of a track, made on first use (for the voice functions).
    CVoice& VoiceFor(const CNote& note, const CProject& project, const CTrack& track);

private:
    struct Entry;
    std::vector<std::unique_ptr<Entry>> entries;
};
