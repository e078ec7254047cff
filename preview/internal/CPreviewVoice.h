#pragma once
// One previewed key: the preview note, its phase cache and its running time axis, rendered
// as 16-bit mono PCM. Plain computation; the engine drives it from the device's notices.
//
// The preview note starts at song time 0 and ends only at the last tick, so its envelope
// runs from its delay and attack, holds the sustain and never reaches key-off; the song's
// master volume list and transpose apply as they stand at the start of the song. The time
// axis restarts after as many seconds as the key's frequency in hertz (see Render).

#include "engine/CPhaseCache.h"
#include "model/CNote.h"

#include <cstdint>

class CProject;
class CTrack;

class CPreviewVoice {
public:
    // Keys are counted upward, as on the keyboard: 0 = C1 .. 95 = B8.
    static constexpr int kKeys = 96;

    CPreviewVoice() = default;
    // The cache is keyed on the address of the note, so the voice stays where it is.
    CPreviewVoice(const CPreviewVoice&) = delete;
    CPreviewVoice& operator=(const CPreviewVoice&) = delete;

    static bool ValidKey(int key) { return key >= 0 && key < kKeys; }
    // 27.5 × 2^((key + 3) / 12) Hz: 440 for key 45 (A4). The pitch the track actually
    // sounds also carries the transpose and the track's detune and modulation.
    static double KeyFrequency(int key);

    // Starts a valid key from time 0 with an empty cache. `project` and `track` must stay
    // alive and unchanged until the next Start or Release.
    void Start(const CProject& project, const CTrack& track, int key);
    // Forgets the project, the track and the cache.
    void Release();
    bool Active() const { return project != nullptr; }

    // Renders the next `frames` samples, each scaled by `gain`, as 16-bit little-endian
    // PCM into out[0 .. 2 × frames). Allocates nothing once the first sample of the key has
    // made the note's cache entry. Without an active key it writes silence.
    void Render(uint8_t* out, int32_t frames, double gain);
    // Adds the next `frames` samples, each scaled by `gain`, to sum[0 .. frames): one voice
    // of several sounding together. Without an active key it adds nothing.
    void Mix(double* sum, int32_t frames, double gain);

    const CNote& Note() const { return note; }

private:
    double NextSample();

    const CProject* project = nullptr;
    const CTrack* track = nullptr;
    CNote note;
    CPhaseCache cache;
    double rate = 0;
    double wrapFrames = 0; // rate × KeyFrequency(key)
    double sampleCounter = 0;
};
