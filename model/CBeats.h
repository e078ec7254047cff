#pragma once
// The song's time signatures and the tick <-> measure conversions built on them.

#include <cstddef>
#include <cstdint>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

struct BEAT {
    int32_t measure = 0;  // zero-based first measure using this signature
    int32_t beat = 4;     // beats per measure
    int32_t baseBeat = 4; // note value of one beat (4 = quarter)

    // Ticks per measure, truncating: 4/4 1920, 3/4 1440, 6/8 1440, 5/16 600.
    // Damaged values give 0 rather than overflow or divide by zero.
    int32_t MeasureLength() const {
        if (baseBeat <= 0 || beat <= 0 || beat > 0xFFFF)
            return 0;
        return static_cast<int32_t>(int64_t{beat} * 1920 / baseBeat);
    }
    bool operator==(const BEAT&) const = default;
};

// Sorted by measure, first element at measure 0, never empty, every measure at least one
// tick long (see IsValid). The first tick of every element is kept alongside.
class CBeats {
public:
    CBeats();

    size_t size() const { return items.size(); }
    const BEAT& operator[](size_t i) const { return items[i]; }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    const std::vector<BEAT>& Items() const { return items; }

    void Assign(std::vector<BEAT> elements);
    size_t Set(const BEAT& element);
    void SetAt(size_t index, const BEAT& element);
    void InsertAt(size_t index, const BEAT& element);
    void RemoveAt(size_t index);
    // Every element after measure m moves one measure later.
    void InsertMeasure(int32_t m);
    // Removes one measure: later elements move up, and the first pair that then shares a
    // measure loses its earlier element.
    void DeleteMeasure(int32_t m);

    // First tick of zero-based measure m; a negative m extends the first signature
    // backwards. Saturates at the ends of the 32-bit range.
    int32_t MeasureToTick(int32_t m) const;
    // Zero-based measure containing tick t; -1 for a negative tick.
    int32_t TickToMeasure(int32_t t) const;
    const BEAT& At(int32_t measure) const;
    // Signature in force at a tick.
    const BEAT& AtTick(int32_t tick) const { return At(TickToMeasure(tick < 0 ? 0 : tick)); }

    bool IsValid() const;

    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar);

private:
    void Reindex();
    size_t IndexOfMeasure(int32_t m) const;

    std::vector<BEAT> items;
    std::vector<int64_t> startTicks;
};
