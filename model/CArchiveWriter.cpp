#include "model/CArchiveWriter.h"

#include "model/TextCodec.h"

#include <cstring>

void CArchiveWriter::U16(uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void CArchiveWriter::U32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(v >> shift));
}

void CArchiveWriter::U64(uint64_t v) {
    U32(static_cast<uint32_t>(v));
    U32(static_cast<uint32_t>(v >> 32));
}

void CArchiveWriter::F64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U64(bits);
}

void CArchiveWriter::Bytes(const void* source, size_t count) {
    const auto* p = static_cast<const uint8_t*>(source);
    bytes.insert(bytes.end(), p, p + count);
}

void CArchiveWriter::TextLine(const std::string& utf8) {
    for (char16_t unit : Utf16FromUtf8(utf8))
        U16(unit == u'\n' || unit == u'\r' ? u' ' : unit);
    U16(0x000A);
}

void CArchiveWriter::Count(uint64_t count) {
    if (count < 0xFFFF) {
        U16(static_cast<uint16_t>(count));
        return;
    }
    U16(0xFFFF);
    if (count < 0xFFFFFFFF) {
        U32(static_cast<uint32_t>(count));
        return;
    }
    U32(0xFFFFFFFF);
    U64(count);
}
