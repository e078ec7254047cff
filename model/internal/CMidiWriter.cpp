#include "model/internal/CMidiWriter.h"

#include <algorithm>

namespace {

// The largest delta a four-byte variable-length quantity holds, the longest readers accept.
constexpr int64_t kMaxDelta = 0x0FFFFFFF;

} // namespace

void CMidiWriter::U16(uint16_t value) {
    U8(static_cast<uint8_t>(value >> 8));
    U8(static_cast<uint8_t>(value));
}

void CMidiWriter::U32(uint32_t value) {
    U16(static_cast<uint16_t>(value >> 16));
    U16(static_cast<uint16_t>(value));
}

void CMidiWriter::Text(std::string_view text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

void CMidiWriter::VarLen(uint32_t value) {
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        U8(static_cast<uint8_t>(groups[--count] | 0x80));
    U8(groups[0]);
}

void CMidiWriter::BeginTrack() {
    Text("MTrk");
    U32(0);
    trackStart = bytes.size();
    lastTick = 0;
}

void CMidiWriter::EndTrack() {
    At(lastTick);
    U8(0xFF);
    U8(0x2F);
    U8(0x00);
    const auto length = static_cast<uint32_t>(bytes.size() - trackStart);
    for (int i = 0; i < 4; ++i)
        bytes[trackStart - 4 + static_cast<size_t>(i)] =
            static_cast<uint8_t>(length >> (24 - 8 * i));
}

// Gaps longer than a delta can hold are bridged with empty text events, which every reader
// passes over, so that an event far into the song keeps its place.
void CMidiWriter::At(int64_t tick) {
    int64_t delta = std::max<int64_t>(tick - lastTick, 0);
    while (delta > kMaxDelta) {
        VarLen(static_cast<uint32_t>(kMaxDelta));
        U8(0xFF);
        U8(0x01);
        U8(0x00);
        delta -= kMaxDelta;
    }
    VarLen(static_cast<uint32_t>(delta));
    lastTick = std::max(lastTick, tick);
}
