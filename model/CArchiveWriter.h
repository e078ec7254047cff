#pragma once
// Little-endian writer into a growing byte block; the counterpart of CArchiveReader.

#include <cstdint>
#include <string>
#include <vector>

class CArchiveWriter {
public:
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v);
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void U64(uint64_t v);
    void F64(double v);
    void Bytes(const void* source, size_t count);
    // A UTF-16LE text line closed by 0x000A. Line breaks inside the text would end it
    // early on reading and shift every later field, so they are written as blanks.
    void TextLine(const std::string& utf8);
    void Count(uint64_t count);

    const std::vector<uint8_t>& Data() const { return bytes; }
    std::vector<uint8_t> Take() { return std::move(bytes); }
    size_t Size() const { return bytes.size(); }

private:
    std::vector<uint8_t> bytes;
};
