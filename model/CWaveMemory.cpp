#include "model/CWaveMemory.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/SoundRanges.h"

#include <algorithm>
#include <limits>

void CWaveMemory::SetSize(int32_t count, int32_t newHeight) {
    const std::vector<int32_t> old = samples;
    const int64_t oldCount = static_cast<int64_t>(old.size());
    const int32_t oldHeight = height;
    samples.assign(static_cast<size_t>(std::max(count, 0)), 0);
    height = newHeight;
    // A damaged table with no height has nothing meaningful to rescale.
    if (old.empty() || oldHeight == 0)
        return;
    for (size_t i = 0; i < samples.size(); ++i) {
        int64_t v = old[static_cast<size_t>(int64_t(i) * oldCount / count)];
        v = v * newHeight / oldHeight;
        samples[i] = static_cast<int32_t>(std::clamp<int64_t>(
            v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
    }
}

void CWaveMemory::Serialize(CArchiveWriter& ar) const {
    ar.U32(static_cast<uint32_t>(samples.size()));
    ar.I32(height);
    for (int32_t v : samples)
        ar.I32(v);
}

void CWaveMemory::Serialize(CArchiveReader& ar) {
    uint32_t count = ar.U32();
    int32_t newHeight = ar.I32();
    ar.Require(count, 4);
    SetSize(static_cast<int32_t>(std::min<uint32_t>(count, INT32_MAX)), newHeight);
    for (int32_t& v : samples)
        v = ar.I32();
    soundranges::Clamp(*this);
}
