#pragma once
// The segments of one bucket list of a track, read-only, in list order: what
//   for (const CNote* s : track.Bucket(b))
// walks. It is a pointer and a loop over `NextInBucket`, so a walk through it compiles to
// the same code as following the links by hand; the renderer relies on that.

#include "model/CNote.h"

#include <cstddef>
#include <iterator>

class CSegmentRange {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = const CNote*;
        using difference_type = std::ptrdiff_t;
        using pointer = const CNote* const*;
        using reference = const CNote*;

        iterator() = default;
        explicit iterator(const CNote* segment) : segment(segment) {}

        const CNote* operator*() const { return segment; }
        iterator& operator++() {
            segment = segment->NextInBucket();
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const iterator&) const = default;

    private:
        const CNote* segment = nullptr;
    };

    explicit CSegmentRange(const CNote* first) : first(first) {}

    iterator begin() const { return iterator(first); }
    iterator end() const { return iterator(); }
    bool empty() const { return first == nullptr; }
    // The newest segment of the list; null for an empty bucket.
    const CNote* front() const { return first; }

private:
    const CNote* first;
};
