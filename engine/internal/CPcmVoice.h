#pragma once
// Sample playback of a PCM track: resampling by the note's phase, the loop, and reading
// frames of every supported width. Holds a view of the track's loaded sample, which must
// stay loaded and unchanged while the voice is used.

#include <cstddef>
#include <cstdint>

class CPCM;

// Loop bounds of one note (in ms units they scale with the note's pitch ratio).
struct PCM_LOOP {
    bool on = false;
    double start = 0;      // frames
    double end = 0;        // frames
    int64_t maxWraps = -1; // -1 endless
};

class CPcmVoice {
public:
    CPcmVoice() = default;
    explicit CPcmVoice(const CPCM& pcm);

    // False without a sample or for a channel count or width that sounds as silence.
    bool Audible() const { return audible; }

    PCM_LOOP LoopFor(int32_t noteKey) const;
    // Sample at a note phase (cycles at the note's frequency), about -1..1.
    double GetSample(double phase, const PCM_LOOP& loop) const;
    double GetSample(double phase, int32_t noteKey) const {
        return GetSample(phase, LoopFor(noteKey));
    }

private:
    double Interpolate(double position) const;
    double IntegerFrame(int64_t frame) const;
    double FloatFrame(int64_t frame) const;
    double IntegerSample(size_t offset) const;
    double FloatSample(size_t offset) const;

    const uint8_t* data = nullptr;
    size_t bytes = 0;
    int32_t channels = 0;
    int32_t bits = 0;
    size_t frameBytes = 0;
    int64_t frames = 0; // whole frames inside the data
    double rate = 0;
    double baseFrequency = 1;
    double fullScale = 1;
    int32_t baseKey = 59;
    int32_t loopStart = 0;
    int32_t loopEnd = 0;
    int32_t loopCount = 1;
    bool loopInFrames = false;
    bool audible = false;
};
