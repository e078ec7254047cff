#include "model/CEnvelope.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/FileVersion.h"

void CEnvelope::Serialize(CArchiveWriter& ar) const {
    for (int32_t v : {curve, delay, attack, decay, sustain, release, attackLevel, sustainLevel,
                      level, keyScaling})
        ar.I32(v);
}

void CEnvelope::Serialize(CArchiveReader& ar, uint32_t version) {
    const bool before15 = IsBefore(version, 5);
    curve = before15 ? 0 : ar.I32();
    delay = before15 ? 0 : ar.I32();
    attack = ar.I32();
    decay = ar.I32();
    sustain = ar.I32();
    // Files before 1.5 meant "hold" by a sustain of 0.
    if (before15 && sustain == 0)
        sustain = -1;
    release = ar.I32();
    attackLevel = IsBefore(version, 8) ? 0 : ar.I32();
    sustainLevel = ar.I32();
    level = before15 ? 255 : ar.I32();
    keyScaling = before15 ? 0 : ar.I32();
}
