#pragma once
// Bounds-checked little-endian reader over a byte block. Every read that would run past
// the end throws ArchiveError, so a truncated file can never be read with stale values.

#include "model/ArchiveError.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class CArchiveReader {
public:
    explicit CArchiveReader(std::span<const uint8_t> data) : data(data) {}

    uint8_t U8();
    uint16_t U16();
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint64_t U64();
    double F64();
    void Bytes(void* destination, size_t count);
    void Skip(size_t count);

    // A text line of a project file: UTF-16LE units up to 0x000A when unicode, else CP932
    // bytes up to 0x0A. Returned as UTF-8.
    std::string TextLine(bool unicode);
    // The variable-length element count of the incremental-build file.
    uint64_t Count();

    size_t Position() const { return position; }
    size_t Remaining() const { return data.size() - position; }
    bool AtEnd() const { return position == data.size(); }

    // Throws unless `count` items of `itemSize` bytes can still be read, so that no
    // container is ever sized from a count the data cannot back.
    void Require(uint64_t count, size_t itemSize) const;

private:
    const uint8_t* Take(size_t count);

    std::span<const uint8_t> data;
    size_t position = 0;
};
