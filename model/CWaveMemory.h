#pragma once
// A user-drawn single-cycle wave: `samples` in -height/2..+height/2, height/2 = full scale.

#include <cstdint>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

class CWaveMemory {
public:
    std::vector<int32_t> samples = std::vector<int32_t>(32, 0);
    int32_t height = 16;

    bool operator==(const CWaveMemory&) const = default;

    // Changes the length and resolution, resampling the old contents to the nearest lower
    // sample and rescaling the values (integer arithmetic, truncating toward zero).
    void SetSize(int32_t count, int32_t newHeight);

    void Serialize(CArchiveWriter& ar) const;
    // Reads a stored table, bringing height, length and samples into their ranges
    // (SoundRanges.h).
    void Serialize(CArchiveReader& ar);
};
