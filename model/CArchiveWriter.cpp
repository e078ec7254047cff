#include "model/CArchiveWriter.h"

#include "model/LittleEndian.h"
#include "model/TextCodec.h"

#include <cstring>

void CArchiveWriter::U16(uint16_t v) {
    uint8_t b[2];
    le::Put16(b, v);
    Bytes(b, sizeof b);
}

void CArchiveWriter::U32(uint32_t v) {
    uint8_t b[4];
    le::Put32(b, v);
    Bytes(b, sizeof b);
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
