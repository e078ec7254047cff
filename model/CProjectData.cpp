#include "model/CProjectData.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/FileVersion.h"

#include <algorithm>

bool CProjectData::operator==(const CProjectData& o) const {
    return name == o.name && volumes.Items() == o.volumes.Items() &&
           tempos.Items() == o.tempos.Items() && transpose == o.transpose &&
           beats.Items() == o.beats.Items() && loopEnabled == o.loopEnabled &&
           loopStart == o.loopStart && loopEnd == o.loopEnd && channels == o.channels &&
           samplesPerSec == o.samplesPerSec && bitsPerSample == o.bitsPerSample &&
           startDummy == o.startDummy && endDummy == o.endDummy && fadeOut == o.fadeOut &&
           fadeOutType == o.fadeOutType && reductionPuchiNoise == o.reductionPuchiNoise;
}

bool CProjectData::IsValid() const {
    return volumes.IsValid() && tempos.IsValid() && beats.IsValid();
}

void CProjectData::RepairLoop() {
    loopStart = std::max(loopStart, 0);
    loopEnd = std::max(loopEnd, 0);
    loopEnabled = loopEnabled != 0 && loopStart < loopEnd ? 1 : 0;
}

void CProjectData::Serialize(CArchiveWriter& ar) const {
    ar.TextLine(name);
    volumes.Serialize(ar);
    tempos.Serialize(ar);
    ar.I16(static_cast<int16_t>(transpose));
    beats.Serialize(ar);
    ar.U8(static_cast<uint8_t>(loopEnabled));
    ar.I32(loopStart);
    ar.I32(loopEnd);
    ar.U8(static_cast<uint8_t>(channels));
    ar.U32(static_cast<uint32_t>(samplesPerSec));
    ar.U8(static_cast<uint8_t>(bitsPerSample));
    ar.U16(static_cast<uint16_t>(startDummy));
    ar.U16(static_cast<uint16_t>(endDummy));
    ar.U32(static_cast<uint32_t>(fadeOut));
    ar.U32(static_cast<uint32_t>(fadeOutType));
    ar.U32(static_cast<uint32_t>(reductionPuchiNoise));
}

void CProjectData::ReadLists(CArchiveReader& ar, uint32_t version) {
    if (IsBefore(version, 8))
        volumes.Assign({VOLUME{0, ar.U16()}});
    else
        volumes.Serialize(ar);

    if (IsBefore(version, 4))
        tempos.Assign({TEMPO{0, static_cast<double>(ar.U16())}});
    else if (IsBefore(version, 5))
        tempos.Assign({TEMPO{0, ar.F64()}});
    else
        tempos.Serialize(ar);

    transpose = IsBefore(version, 4) ? 0 : ar.I16();

    if (IsBefore(version, 5)) {
        int32_t beat = ar.U8();
        int32_t baseBeat = ar.U8();
        beats.Assign({BEAT{0, beat, baseBeat}});
    } else {
        beats.Serialize(ar);
    }
}

void CProjectData::Serialize(CArchiveReader& ar, uint32_t version) {
    name = ar.TextLine(!IsBefore(version, 9));
    ReadLists(ar, version);
    if (IsBefore(version, 6)) {
        loopEnabled = loopStart = loopEnd = 0;
    } else {
        loopEnabled = ar.U8();
        loopStart = ar.I32();
        loopEnd = ar.I32();
    }
    channels = ar.U8();
    samplesPerSec = static_cast<int32_t>(ar.U32());
    bitsPerSample = ar.U8();
    startDummy = ar.U16();
    endDummy = ar.U16();
    fadeOut = static_cast<int32_t>(ar.U32());
    if (IsBefore(version, 2)) {
        fadeOutType = reductionPuchiNoise = 0;
    } else {
        fadeOutType = static_cast<int32_t>(ar.U32());
        reductionPuchiNoise = static_cast<int32_t>(ar.U32());
    }
}
