#pragma once
// Operations shared by the tempo and volume lists, whose elements are keyed by `position`.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace timelist {

// Sorted insert: an element at the same position is replaced, otherwise the new one goes
// before the first element with a greater position.
template <class T> size_t Set(std::vector<T>& items, const T& element) {
    size_t i = 0;
    while (i < items.size() && items[i].position < element.position)
        ++i;
    if (i < items.size() && items[i].position == element.position)
        items[i] = element;
    else
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(i), element);
    return i;
}

// Removes [tick, tick + amount): later elements move back; an element that lands inside
// the removed range is dropped, and one landing exactly on the cut replaces its predecessor
// there, so the later setting takes over at the cut.
template <class T> void DeleteTime(std::vector<T>& items, int32_t tick, int32_t amount) {
    std::vector<T> kept;
    kept.reserve(items.size());
    for (T e : items) {
        if (e.position > tick) {
            e.position = static_cast<int32_t>(int64_t{e.position} - amount);
            if (e.position < tick)
                continue;
            if (e.position == tick && !kept.empty() && kept.back().position == tick)
                kept.pop_back();
        }
        kept.push_back(e);
    }
    items = std::move(kept);
}

// Moves every element after `tick` later by `amount` (an element exactly at tick stays).
template <class T> void InsertTime(std::vector<T>& items, int32_t tick, int32_t amount) {
    for (T& e : items)
        if (e.position > tick)
            e.position =
                static_cast<int32_t>(std::min<int64_t>(int64_t{e.position} + amount, INT32_MAX));
}

// Index of the element in force at `tick`: the last one at or before it, 0 before the first.
template <class T> size_t IndexAt(const std::vector<T>& items, int32_t tick) {
    size_t lo = 0, hi = items.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (items[mid].position <= tick)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == 0 ? 0 : lo - 1;
}

template <class T> bool SortedFromZero(const std::vector<T>& items) {
    if (items.empty() || items.front().position != 0)
        return false;
    for (size_t i = 1; i < items.size(); ++i)
        if (items[i].position <= items[i - 1].position)
            return false;
    return true;
}

} // namespace timelist
