#include "preview/internal/CPreviewVoice.h"

#include "engine/Voice.h"
#include "model/CProject.h"
#include "model/LittleEndian.h"
#include "preview/internal/PreviewFormat.h"

#include <cmath>
#include <cstring>
#include <limits>

double CPreviewVoice::KeyFrequency(int key) {
    return 27.5 * std::exp2((key + 3) / 12.0);
}

void CPreviewVoice::Start(const CProject& p, const CTrack& t, int key) {
    project = &p;
    track = &t;
    note = CNote();
    note.position = 0;
    note.length = std::numeric_limits<int32_t>::max();
    note.keyoff = 0;
    note.key = kKeys - 1 - key;
    note.volume = 255;
    rate = p.data.samplesPerSec;
    wrapFrames = rate * KeyFrequency(key);
    sampleCounter = 0;
    // The note object is reused for every key, so an entry left from the key before would
    // carry its phase and pitch into this one.
    cache.Clear();
}

void CPreviewVoice::Release() {
    project = nullptr;
    track = nullptr;
    cache.Clear();
}

void CPreviewVoice::Render(uint8_t* out, int32_t frames, double gain) {
    if (!Active() || !(rate > 0)) {
        std::memset(out, 0, size_t(frames) * preview::kBytesPerFrame);
        return;
    }
    for (int32_t i = 0; i < frames; ++i)
        le::Put16(out + 2 * i, static_cast<uint16_t>(preview::ToPcm16(NextSample() * gain)));
}

void CPreviewVoice::Mix(double* sum, int32_t frames, double gain) {
    if (!Active() || !(rate > 0))
        return;
    for (int32_t i = 0; i < frames; ++i)
        sum[i] += NextSample() * gain;
}

// The time axis restarts after rate × frequency frames: the envelope and the LFOs start
// over and the cached phase steps back by the cycles it ran, much as if the key had been
// struck again.
double CPreviewVoice::NextSample() {
    if (sampleCounter >= wrapFrames)
        sampleCounter -= wrapFrames;
    const double x = GetSample(note, sampleCounter / rate, *project, *track, cache, false);
    sampleCounter += 1;
    return x;
}
