#include "model/CLFO.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"

void CLFO::Serialize(CArchiveWriter& ar) const {
    ar.U8(static_cast<uint8_t>(waveform));
    ar.U8(static_cast<uint8_t>(invert));
    for (int32_t v : {delay, fade, period, depth})
        ar.I32(v);
}

void CLFO::Serialize(CArchiveReader& ar, uint32_t) {
    waveform = ar.U8();
    invert = ar.U8();
    delay = ar.I32();
    fade = ar.I32();
    period = ar.I32();
    depth = ar.I32();
}
