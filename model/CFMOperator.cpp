#include "model/CFMOperator.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"

void CFMOperator::Serialize(CArchiveWriter& ar) const {
    envelope.Serialize(ar);
    pitchLFO.Serialize(ar);
    ampLFO.Serialize(ar);
    ar.I32(feedback);
    ar.F64(multiple);
    ar.I32(detune);
}

void CFMOperator::Serialize(CArchiveReader& ar, uint32_t version) {
    envelope.Serialize(ar, version);
    pitchLFO.Serialize(ar, version);
    ampLFO.Serialize(ar, version);
    feedback = ar.I32();
    multiple = ar.F64();
    detune = ar.I32();
}
