#include "model/CTempoList.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/internal/TimeListOps.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kSecondsPerTickAtOneBpm = 0.125; // 60 s / 480 ticks
}

CTempoList::CTempoList() : items{TEMPO{}} {
    Reindex();
}

void CTempoList::Reindex() {
    startSeconds.resize(items.size());
    double sum = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            // In double: a damaged list is indexed before it is checked, and its positions
            // may lie further apart than 32 bits can hold.
            sum += (double(items[i].position) - items[i - 1].position) * kSecondsPerTickAtOneBpm /
                   items[i - 1].tempo;
        startSeconds[i] = sum;
    }
}

void CTempoList::Assign(std::vector<TEMPO> elements) {
    items = std::move(elements);
    Reindex();
}

size_t CTempoList::Set(const TEMPO& element) {
    size_t i = timelist::Set(items, element);
    Reindex();
    return i;
}

void CTempoList::SetAt(size_t index, const TEMPO& element) {
    items.at(index) = element;
    Reindex();
}

void CTempoList::InsertAt(size_t index, const TEMPO& element) {
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), element);
    Reindex();
}

void CTempoList::RemoveAt(size_t index) {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
    Reindex();
}

void CTempoList::InsertTime(int32_t tick, int32_t amount) {
    timelist::InsertTime(items, tick, amount);
    Reindex();
}

void CTempoList::DeleteTime(int32_t tick, int32_t amount) {
    timelist::DeleteTime(items, tick, amount);
    Reindex();
}

const TEMPO& CTempoList::At(int32_t tick) const {
    return items[timelist::IndexAt(items, tick)];
}

double CTempoList::TicksToSeconds(int32_t from, int32_t to) const {
    if (from >= to)
        return 0;
    size_t k = timelist::IndexAt(items, from);
    size_t last = timelist::IndexAt(items, to - 1);
    const double scale = kSecondsPerTickAtOneBpm;
    if (k == last)
        return (double(to) - from) * scale / items[k].tempo;
    if (from == 0 && k == 0)
        return startSeconds[last] + (double(to) - items[last].position) * scale / items[last].tempo;
    double head = (double(items[k + 1].position) - from) * scale / items[k].tempo;
    double middle = startSeconds[last] - startSeconds[k + 1];
    return head + middle + (double(to) - items[last].position) * scale / items[last].tempo;
}

int32_t CTempoList::SecondsToTicks(double seconds) const {
    if (!(seconds > 0))
        return 0;
    size_t lo = 0, hi = startSeconds.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (startSeconds[mid] <= seconds)
            lo = mid + 1;
        else
            hi = mid;
    }
    size_t k = lo == 0 ? 0 : lo - 1;
    double ticks = std::trunc((seconds - startSeconds[k]) * items[k].tempo * 8) + items[k].position;
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    if (!(ticks < kMax))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(ticks);
}

bool CTempoList::IsValid() const {
    if (!timelist::SortedFromZero(items))
        return false;
    for (const TEMPO& t : items)
        if (!std::isfinite(t.tempo) || t.tempo <= 0)
            return false;
    return true;
}

void CTempoList::Serialize(CArchiveWriter& ar) const {
    ar.U32(static_cast<uint32_t>(items.size()));
    for (const TEMPO& t : items) {
        ar.I32(t.position);
        ar.F64(t.tempo);
    }
}

void CTempoList::Serialize(CArchiveReader& ar) {
    uint32_t count = ar.U32();
    ar.Require(count, 12);
    std::vector<TEMPO> loaded(count);
    for (TEMPO& t : loaded) {
        t.position = ar.I32();
        t.tempo = ar.F64();
    }
    Assign(std::move(loaded));
}
