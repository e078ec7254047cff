#pragma once
// The song's tempo changes and the tick <-> second conversions built on them.

#include <cstddef>
#include <cstdint>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

struct TEMPO {
    int32_t position = 0; // tick at which the tempo takes effect
    double tempo = 120.0; // quarter notes per minute

    bool operator==(const TEMPO&) const = default;
};

// Sorted by position, first element at tick 0, never empty (see IsValid). The start of
// every element in seconds is kept alongside, so conversions cost O(log n): the renderer
// calls them for every sample.
class CTempoList {
public:
    CTempoList();

    size_t size() const { return items.size(); }
    const TEMPO& operator[](size_t i) const { return items[i]; }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    const std::vector<TEMPO>& Items() const { return items; }

    void Assign(std::vector<TEMPO> elements);
    size_t Set(const TEMPO& element);
    void SetAt(size_t index, const TEMPO& element);
    void InsertAt(size_t index, const TEMPO& element);
    void RemoveAt(size_t index);
    void InsertTime(int32_t tick, int32_t amount);
    void DeleteTime(int32_t tick, int32_t amount);

    // Seconds from tick `from` to tick `to`; 0 when from >= to.
    double TicksToSeconds(int32_t from, int32_t to) const;
    // Seconds from tick 0.
    double SecondsAt(int32_t tick) const { return TicksToSeconds(0, tick); }
    // The tick reached after `seconds`, truncated (loses up to one tick against
    // TicksToSeconds). Saturates at the ends of the 32-bit range.
    int32_t SecondsToTicks(double seconds) const;
    const TEMPO& At(int32_t tick) const;

    // Sorted, strictly ascending, first at 0, every tempo finite and above 0.
    bool IsValid() const;

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar);

private:
    void Reindex();

    std::vector<TEMPO> items;
    std::vector<double> startSeconds; // seconds from tick 0 to items[i].position
};
