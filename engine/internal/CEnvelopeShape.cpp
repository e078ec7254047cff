#include "engine/internal/CEnvelopeShape.h"

#include "engine/internal/CNoteTimes.h"
#include "engine/internal/VoiceMath.h"
#include "model/CEnvelope.h"

#include <algorithm>
#include <cmath>

double CEnvelopeShape::KeyFactor(const CEnvelope& envelope, int32_t transpose, int32_t key) {
    const double s = 1 - ((double(transpose) - key + 95) / 96) * envelope.keyScaling / 16.0;
    return s > 0 ? s : 0;
}

CEnvelopeShape::CEnvelopeShape(const CEnvelope& envelope, int32_t transpose, int32_t key,
                               const CNoteTimes& times)
    : attackLevel(envelope.attackLevel / 255.0), sustainLevel(envelope.sustainLevel / 255.0),
      lengthMs(times.lengthMs), noteSeconds(times.noteEnd - times.noteStart),
      keyOffMs(times.keyOffMs), sustain(envelope.sustain), release(envelope.release),
      curve(envelope.curve), negativeDelay(envelope.delay < 0) {
    const double s = KeyFactor(envelope, transpose, key);
    delay = envelope.delay * s;
    attack = envelope.attack * s;
    decay = envelope.decay * s;
    sustainTime = envelope.sustain * s;
    releaseTime = envelope.release * s;
    levelFactor = std::pow(10.0, -4.8 * (1 - envelope.level / 255.0));
    // Only damaged files carry levels far enough above 255 to overflow.
    if (!std::isfinite(levelFactor))
        levelFactor = 0;
    releaseStart = Ads(keyOffMs);
}

bool CEnvelopeShape::ConstantOver(double msFirst, double msLast, double& level) const {
    const double first = negativeDelay ? msFirst - lengthMs : msFirst;
    const double last = negativeDelay ? msLast - lengthMs : msLast;
    bool flat;
    if (first > keyOffMs)
        flat = release < 0 || releaseTime == 0;
    else if (last > keyOffMs)
        flat = false;
    else if (last < delay)
        flat = true;
    else
        flat = !(first < delay) && !(first < delay + attack + decay) &&
               !(sustain > 0 && sustainTime > 0);
    if (flat)
        level = GetLevel(msFirst);
    return flat;
}

double CEnvelopeShape::GetReleaseTime() const {
    if (release == 0)
        return 0;
    if (release < 0)
        return noteSeconds - keyOffMs / 1000;
    return releaseStart * releaseTime / 1000;
}
