#pragma once
// Four-operator FM voice: the operators and the algorithm that connects them (0..7).

#include "model/CFMOperator.h"

#include <array>

class CArchiveReader;
class CArchiveWriter;

class CFM {
public:
    int32_t algorithm = 0;
    std::array<CFMOperator, 4> operators; // O1..O4

    bool operator==(const CFM&) const = default;

    void Serialize(CArchiveWriter& ar) const;
    // Reads a stored record, bringing every value into its range (SoundRanges.h).
    void Serialize(CArchiveReader& ar, uint32_t version);
};
