#include "model/CTrackData.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/FileVersion.h"
#include "model/SoundRanges.h"

#include <atomic>

namespace {
std::atomic<uint32_t> defaultNoteColor{0x0000FF};
}

uint32_t CTrackData::DefaultNoteColor() {
    return defaultNoteColor.load();
}

void CTrackData::SetDefaultNoteColor(uint32_t color) {
    defaultNoteColor.store(color);
}

bool CTrackData::operator==(const CTrackData& o) const {
    return name == o.name && useNoteColor == o.useNoteColor && noteColor == o.noteColor &&
           waveform == o.waveform && invert == o.invert && pseudoWave == o.pseudoWave &&
           duty == o.duty && volume == o.volume && pan == o.pan && detune == o.detune &&
           pcm.SameSettings(o.pcm) && waveMemory == o.waveMemory && fm == o.fm &&
           envelope == o.envelope && pitchLFO == o.pitchLFO && ampLFO == o.ampLFO && mute == o.mute;
}

void CTrackData::Serialize(CArchiveWriter& ar) const {
    ar.TextLine(name);
    ar.U8(static_cast<uint8_t>(useNoteColor));
    ar.U32(noteColor);
    ar.U8(static_cast<uint8_t>(waveform));
    ar.U8(static_cast<uint8_t>(invert));
    ar.U16(static_cast<uint16_t>(pseudoWave));
    ar.I16(static_cast<int16_t>(duty));
    ar.U16(static_cast<uint16_t>(volume));
    ar.I16(static_cast<int16_t>(pan));
    ar.I16(static_cast<int16_t>(detune));
    if (waveform == kPcm)
        pcm.Serialize(ar);
    else if (waveform == kWaveMemory)
        waveMemory.Serialize(ar);
    else if (waveform == kFm)
        fm.Serialize(ar);
    envelope.Serialize(ar);
    pitchLFO.Serialize(ar);
    ampLFO.Serialize(ar);
    ar.I32(mute);
}

void CTrackData::Serialize(CArchiveReader& ar, uint32_t version) {
    name = ar.TextLine(!IsBefore(version, 9));
    if (IsBefore(version, 3)) {
        useNoteColor = 0;
        noteColor = DefaultNoteColor();
    } else {
        useNoteColor = ar.U8();
        noteColor = ar.U32();
    }
    waveform = ar.U8();
    invert = IsBefore(version, 5) ? 0 : ar.U8();
    pseudoWave = IsBefore(version, 3) ? 0 : ar.U16();
    duty = ar.I16();
    volume = ar.U16();
    pan = ar.I16();
    detune = ar.I16();
    if (waveform == kPcm)
        pcm.Serialize(ar, version);
    else if (waveform == kWaveMemory)
        waveMemory.Serialize(ar);
    else if (waveform == kFm)
        fm.Serialize(ar, version);
    envelope.Serialize(ar, version);
    pitchLFO.Serialize(ar, version);
    ampLFO.Serialize(ar, version);
    mute = IsBefore(version, 2) ? 0 : ar.I32();
    soundranges::Clamp(*this);
}
