#pragma once
// Volume envelope of a track or an FM operator. Times in milliseconds, levels 0..255.

#include <cstdint>

class CArchiveReader;
class CArchiveWriter;

class CEnvelope {
public:
    int32_t curve = 0;          // 0 linear, 1 S-curve, 2 square law
    int32_t delay = 0;          // ms; negative: all times count from the note's end
    int32_t attack = 0;         // ms from attackLevel to full level
    int32_t decay = 0;          // ms from full level to sustainLevel
    int32_t sustain = -1;       // -1 hold, 0 silence after the decay, n > 0 fall to 0 in n ms
    int32_t release = 0;        // -1 none, 0 silence at key-off, n > 0 fall to 0 in n ms
    int32_t attackLevel = 0;    // 0..255
    int32_t sustainLevel = 255; // 0..255
    int32_t level = 255;        // overall level on a 96 dB scale, 255 = 0 dB
    int32_t keyScaling = 0;     // 0..16, shortens every time for higher keys

    bool operator==(const CEnvelope&) const = default;

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar, uint32_t version);
};
