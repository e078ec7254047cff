#pragma once
// The note sample function and its parts, for single notes: the live preview samples its
// note through these, and they state each quantity of the voice on its own. A build renders
// whole seconds through CSongRenderer, which runs the same voice code with its constants
// derived once per build.
//
// Time t is in seconds from the start of the song (without a build's leading silence);
// samples are 1.0 at full scale.

#include <cstdint>

class CEnvelope;
class CFMOperator;
class CLFO;
class CNote;
class CPCM;
class CPhaseCache;
class CProject;
class CTempoList;
class CTrack;

// The sample of one note of one track at t. `applyFade` applies the song's fade-out (builds
// do, the preview does not).
double GetSample(const CNote& note, double t, const CProject& project, const CTrack& track,
                 CPhaseCache& cache, bool applyFade);

// Phase in cycles of the track's own oscillator (fmOperator null) or of one of its FM
// operators at t, advancing the oscillator's entry in `cache`. An operator that is not one
// of the track's has no phase (0).
double GetPhase(const CNote& note, double t, const CProject& project, const CTrack& track,
                CPhaseCache& cache, const CFMOperator* fmOperator);

// Frequency in Hz at t (for the noise source: table steps per second).
double GetFrequency(const CNote& note, double t, const CProject& project, const CTrack& track,
                    const CFMOperator* fmOperator);

// Envelope level at t for the note, 0..1 (more only for an overall level above 255).
double GetLevel(const CEnvelope& envelope, double t, const CProject& project, const CNote& note);

// Seconds of sound after key-off.
double GetReleaseTime(const CEnvelope& envelope, const CProject& project, const CNote& note);

// LFO value at t: semitones for a pitch LFO, a gain fraction for an amplitude LFO.
double GetValue(const CLFO& lfo, double t, const CNote& note, const CTempoList& tempos);

// The PCM source at a phase (cycles at the note's frequency) of a note on `noteKey`.
double GetPcmSample(const CPCM& pcm, double phase, int32_t noteKey);

// Click-noise reduction gain at t: fades the note in over 5 ms and out over the 5 ms before
// its sound ends; 1 when the song has the reduction switched off.
double GetClickGain(const CNote& note, double t, const CProject& project, const CTrack& track);

// Fade-out gain at t over the song's last `fadeOut` milliseconds.
double GetFadeGain(double t, const CProject& project);
