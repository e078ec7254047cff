#include "model/CFM.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/SoundRanges.h"

void CFM::Serialize(CArchiveWriter& ar) const {
    ar.I32(algorithm);
    for (const CFMOperator& o : operators)
        o.Serialize(ar);
}

void CFM::Serialize(CArchiveReader& ar, uint32_t version) {
    algorithm = ar.I32();
    for (CFMOperator& o : operators)
        o.Serialize(ar, version);
    soundranges::Clamp(*this);
}
