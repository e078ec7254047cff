#pragma once
// One operator of the four-operator FM voice.

#include "model/CEnvelope.h"
#include "model/CLFO.h"

class CArchiveReader;
class CArchiveWriter;

class CFMOperator {
public:
    CEnvelope envelope;
    CLFO pitchLFO; // added to the track's vibrato
    CLFO ampLFO;
    int32_t feedback = 0;  // 0..7 self-modulation
    double multiple = 1.0; // frequency multiple, 0..16
    int32_t detune = 0;    // 1/256 semitone

    bool operator==(const CFMOperator&) const = default;

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar, uint32_t version);
};
