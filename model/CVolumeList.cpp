#include "model/CVolumeList.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"
#include "model/internal/TimeListOps.h"

size_t CVolumeList::Set(const VOLUME& element) {
    return timelist::Set(items, element);
}

void CVolumeList::InsertAt(size_t index, const VOLUME& element) {
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), element);
}

void CVolumeList::RemoveAt(size_t index) {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
}

void CVolumeList::InsertTime(int32_t tick, int32_t amount) {
    timelist::InsertTime(items, tick, amount);
}

void CVolumeList::DeleteTime(int32_t tick, int32_t amount) {
    timelist::DeleteTime(items, tick, amount);
}

int32_t CVolumeList::VolumeAt(int32_t tick) const {
    if (items.empty() || items.front().position > tick)
        return 0;
    return items[timelist::IndexAt(items, tick)].volume;
}

bool CVolumeList::IsValid() const {
    return timelist::SortedFromZero(items);
}

void CVolumeList::Serialize(CArchiveWriter& ar) const {
    ar.U32(static_cast<uint32_t>(items.size()));
    for (const VOLUME& v : items) {
        ar.I32(v.position);
        ar.I32(v.volume);
    }
}

void CVolumeList::Serialize(CArchiveReader& ar) {
    uint32_t count = ar.U32();
    ar.Require(count, 8);
    std::vector<VOLUME> loaded(count);
    for (VOLUME& v : loaded) {
        v.position = ar.I32();
        v.volume = ar.I32();
    }
    items = std::move(loaded);
}
