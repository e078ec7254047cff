#pragma once
// One oscillator's entry in a phase cache: the phase reached so far and, for an FM operator
// with feedback, its last output times the feedback factor.

class CNote;
class CTrack;
class CFMOperator;

struct WAVE_PITCH {
    const CNote* note = nullptr;
    const CTrack* track = nullptr;
    const CFMOperator* fmOperator = nullptr; // null for the track's own oscillator
    double phase = -1;                       // cycles; -1 marks an entry not yet caught up
    double lastMs = 0;                       // note time of `phase`, ms
    double feedbackMemory = 0;
};
