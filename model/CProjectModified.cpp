#include "model/CProjectModified.h"

#include "model/CArchiveReader.h"
#include "model/CArchiveWriter.h"

#include <algorithm>

namespace {
// A song of more than a week would not fit a WAV file anyway; this keeps a damaged map or
// time list from growing the flags without bound.
constexpr int64_t kMaxSeconds = int64_t{7} * 24 * 3600;
} // namespace

void CProjectModified::Mark(int64_t first, int64_t last) {
    first = std::max<int64_t>(first, 0);
    last = std::min(last, kMaxSeconds);
    if (last < first)
        return;
    if (size() < static_cast<size_t>(last) + 1)
        resize(static_cast<size_t>(last) + 1, 0);
    std::fill(begin() + first, begin() + last + 1, 1);
}

bool CProjectModified::AnySet() const {
    return std::any_of(begin(), end(), [](int32_t v) { return v != 0; });
}

size_t CProjectModified::CountSet(size_t below) const {
    size_t n = std::min(below, size());
    return static_cast<size_t>(std::count_if(begin(), begin() + static_cast<std::ptrdiff_t>(n),
                                             [](int32_t v) { return v != 0; }));
}

void CProjectModified::Merge(const CProjectModified& source) {
    if (size() < source.size())
        resize(source.size(), 0);
    for (size_t i = 0; i < source.size(); ++i)
        (*this)[i] |= source[i];
}

void CProjectModified::Serialize(CArchiveWriter& ar) const {
    ar.Count(size());
    for (int32_t v : *this)
        ar.I32(v);
}

void CProjectModified::Serialize(CArchiveReader& ar) {
    uint64_t count = ar.Count();
    ar.Require(count, 4);
    assign(static_cast<size_t>(count), 0);
    for (int32_t& v : *this)
        v = ar.I32();
}
