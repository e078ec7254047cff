#include "model/CNote.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"

void CNote::CopyValues(const CNote& other) {
    position = other.position;
    length = other.length;
    keyoff = other.keyoff;
    key = other.key;
    volume = other.volume;
    portamentoStart = other.portamentoStart;
    portamentoLength = other.portamentoLength;
    portamentoLevel = other.portamentoLevel;
}

const CNote* CNote::Head() const {
    const CNote* n = this;
    while (n->prevSegment != nullptr)
        n = n->prevSegment;
    return n;
}

bool CNote::SameValues(const CNote& o) const {
    return position == o.position && length == o.length && keyoff == o.keyoff && key == o.key &&
           volume == o.volume && portamentoStart == o.portamentoStart &&
           portamentoLength == o.portamentoLength && portamentoLevel == o.portamentoLevel;
}

void CNote::Serialize(CArchiveWriter& ar, int32_t storedPosition) const {
    ar.I32(storedPosition);
    ar.I32(length);
    ar.I32(keyoff);
    ar.U8(static_cast<uint8_t>(key));
    ar.U16(static_cast<uint16_t>(volume));
    ar.I32(portamentoStart);
    ar.I32(portamentoLength);
    ar.I16(static_cast<int16_t>(portamentoLevel));
}

CNote CNote::ReadRecord(CArchiveReader& ar, int32_t position) {
    CNote n;
    n.position = position;
    n.length = ar.I32();
    n.keyoff = ar.I32();
    n.key = ar.U8();
    n.volume = ar.U16();
    n.portamentoStart = ar.I32();
    n.portamentoLength = ar.I32();
    n.portamentoLevel = ar.I16();
    return n;
}
