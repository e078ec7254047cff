#pragma once
// The song's master volume changes: a step function over ticks.

#include <cstddef>
#include <cstdint>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

struct VOLUME {
    int32_t position = 0; // tick at which the level takes effect
    int32_t volume = 128; // master volume 0..255

    bool operator==(const VOLUME&) const = default;
};

class CVolumeList {
public:
    CVolumeList() : items{VOLUME{}} {}

    size_t size() const { return items.size(); }
    const VOLUME& operator[](size_t i) const { return items[i]; }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    const std::vector<VOLUME>& Items() const { return items; }

    void Assign(std::vector<VOLUME> elements) { items = std::move(elements); }
    size_t Set(const VOLUME& element);
    void SetAt(size_t index, const VOLUME& element) { items.at(index) = element; }
    void InsertAt(size_t index, const VOLUME& element);
    void RemoveAt(size_t index);
    void InsertTime(int32_t tick, int32_t amount);
    void DeleteTime(int32_t tick, int32_t amount);

    // Level in force at a tick: the last element at or before it, 0 before the first.
    int32_t VolumeAt(int32_t tick) const;

    bool IsValid() const;

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar);

private:
    std::vector<VOLUME> items;
};
