#pragma once
// One flag per whole second of song time: 1 when that second of the rendered audio is out
// of date. The project collects the seconds an edit touches; the editor keeps two more of
// these (unsaved and unbuilt); the incremental-build file stores one.

#include <cstdint>
#include <span>
#include <vector>

class CArchiveReader;
class CArchiveWriter;

class CProjectModified : public std::vector<int32_t> {
public:
    using std::vector<int32_t>::vector;

    // Sets seconds [first, last], growing with zeros as needed; negative indexes are ignored.
    void Mark(int64_t first, int64_t last);
    bool AnySet() const;
    size_t CountSet(size_t below) const;
    // Element-wise OR of source into this, growing with zeros to the source's length.
    void Merge(const CProjectModified& source);

    // The incremental-build record: variable-length count, then one i32 per second.
    void Serialize(CArchiveWriter& ar) const;
    void Serialize(CArchiveReader& ar);
};
