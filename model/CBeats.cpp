#include "model/CBeats.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"

#include <algorithm>
#include <limits>

namespace {

// Products of a measure length (below 2^27) and a measure count (below 2^33) stay far
// inside 64 bits; sums are clamped so that damaged lists cannot overflow.
constexpr int64_t kTickLimit = int64_t{1} << 62;

int64_t ClampTicks(int64_t v) {
    return std::clamp(v, -kTickLimit, kTickLimit);
}

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

CBeats::CBeats() : items{BEAT{}} {
    Reindex();
}

void CBeats::Reindex() {
    startTicks.resize(items.size());
    int64_t acc = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            acc = ClampTicks(acc + int64_t{items[i - 1].MeasureLength()} *
                                       (int64_t{items[i].measure} - items[i - 1].measure));
        startTicks[i] = acc;
    }
}

void CBeats::Assign(std::vector<BEAT> elements) {
    items = std::move(elements);
    Reindex();
}

size_t CBeats::Set(const BEAT& element) {
    size_t i = 0;
    while (i < items.size() && items[i].measure < element.measure)
        ++i;
    if (i < items.size() && items[i].measure == element.measure)
        items[i] = element;
    else
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(i), element);
    Reindex();
    return i;
}

void CBeats::SetAt(size_t index, const BEAT& element) {
    items.at(index) = element;
    Reindex();
}

void CBeats::InsertAt(size_t index, const BEAT& element) {
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), element);
    Reindex();
}

void CBeats::RemoveAt(size_t index) {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    Reindex();
}

void CBeats::InsertMeasure(int32_t m) {
    for (BEAT& b : items)
        if (b.measure > m && b.measure < std::numeric_limits<int32_t>::max())
            ++b.measure;
    Reindex();
}

void CBeats::DeleteMeasure(int32_t m) {
    for (BEAT& b : items)
        if (b.measure > m)
            --b.measure;
    for (size_t i = 1; i < items.size(); ++i) {
        if (items[i].measure == items[i - 1].measure) {
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(i - 1));
            break;
        }
    }
    Reindex();
}

size_t CBeats::IndexOfMeasure(int32_t m) const {
    size_t lo = 0, hi = items.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (items[mid].measure <= m)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == 0 ? 0 : lo - 1;
}

const BEAT& CBeats::At(int32_t measure) const {
    return items[IndexOfMeasure(measure)];
}

int32_t CBeats::MeasureToTick(int32_t m) const {
    size_t k = IndexOfMeasure(m);
    return Saturate(startTicks[k] +
                    int64_t{items[k].MeasureLength()} * (int64_t{m} - items[k].measure));
}

int32_t CBeats::TickToMeasure(int32_t t) const {
    if (t < 0)
        return -1;
    auto it = std::upper_bound(startTicks.begin(), startTicks.end(), int64_t{t});
    size_t k = it == startTicks.begin() ? 0 : static_cast<size_t>(it - startTicks.begin()) - 1;
    int64_t length = std::max<int64_t>(items[k].MeasureLength(), 1);
    return Saturate(items[k].measure + (t - startTicks[k]) / length);
}

bool CBeats::IsValid() const {
    if (items.empty() || items.front().measure != 0)
        return false;
    for (size_t i = 0; i < items.size(); ++i) {
        const BEAT& b = items[i];
        if (b.beat < 1 || b.baseBeat < 1 || b.beat > 0xFFFF || b.MeasureLength() < 1)
            return false;
        if (i > 0 && b.measure <= items[i - 1].measure)
            return false;
    }
    return true;
}

void CBeats::Serialize(CArchiveWriter& ar) const {
    ar.U32(static_cast<uint32_t>(items.size()));
    for (const BEAT& b : items) {
        ar.I32(b.measure);
        ar.I32(b.beat);
        ar.I32(b.baseBeat);
    }
}

void CBeats::Serialize(CArchiveReader& ar) {
    uint32_t count = ar.U32();
    ar.Require(count, 12);
    std::vector<BEAT> loaded(count);
    for (BEAT& b : loaded) {
        b.measure = ar.I32();
        b.beat = ar.I32();
        b.baseBeat = ar.I32();
    }
    Assign(std::move(loaded));
}
