#include "model/CArchiveReader.h"

#include "model/LittleEndian.h"
#include "model/TextCodec.h"

#include <cstring>

const uint8_t* CArchiveReader::Take(size_t count) {
    if (count > Remaining())
        throw ArchiveError("unexpected end of data at byte " + std::to_string(data.size()));
    const uint8_t* p = data.data() + position;
    position += count;
    return p;
}

uint8_t CArchiveReader::U8() {
    return *Take(1);
}

uint16_t CArchiveReader::U16() {
    return le::Get16(Take(2));
}

uint32_t CArchiveReader::U32() {
    return le::Get32(Take(4));
}

uint64_t CArchiveReader::U64() {
    uint64_t low = U32();
    return low | static_cast<uint64_t>(U32()) << 32;
}

double CArchiveReader::F64() {
    uint64_t bits = U64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void CArchiveReader::Bytes(void* destination, size_t count) {
    if (count > 0)
        std::memcpy(destination, Take(count), count);
}

void CArchiveReader::Skip(size_t count) {
    Take(count);
}

void CArchiveReader::Require(uint64_t count, size_t itemSize) const {
    if (itemSize != 0 && count > Remaining() / itemSize)
        throw ArchiveError("count " + std::to_string(count) + " exceeds the data");
}

std::string CArchiveReader::TextLine(bool unicode) {
    if (!unicode) {
        std::string bytes;
        for (uint8_t b = U8(); b != 0x0A; b = U8())
            bytes += static_cast<char>(b);
        return Utf8FromCp932(bytes);
    }
    std::u16string units;
    for (;;) {
        char16_t u = U16();
        if (u == 0x000A)
            break;
        if (u == 0x000D) {
            U16();
            break;
        }
        units += u;
    }
    return Utf8FromUtf16(units);
}

uint64_t CArchiveReader::Count() {
    uint16_t small = U16();
    if (small != 0xFFFF)
        return small;
    uint32_t medium = U32();
    if (medium != 0xFFFFFFFF)
        return medium;
    return U64();
}
