#pragma once
// Big-endian byte writer for Standard MIDI Files: numbers, variable-length quantities and
// track chunks whose length is filled in when the track ends. Events are placed by absolute
// tick; the writer turns the ticks into delta times.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

class CMidiWriter {
public:
    void U8(uint8_t value) { bytes.push_back(value); }
    void U16(uint16_t value);
    void U32(uint32_t value);
    void Text(std::string_view text);
    // Most significant 7-bit group first, every group but the last with the top bit set.
    void VarLen(uint32_t value);

    // Starts a track chunk with a placeholder length; its delta clock starts at tick 0.
    void BeginTrack();
    // Writes the end-of-track event at the last tick written and fills in the chunk length.
    void EndTrack();
    // Writes the delta time from the track's previous event to `tick` (a tick before the
    // previous one counts as the same tick).
    void At(int64_t tick);

    std::vector<uint8_t> Take() { return std::move(bytes); }

private:
    std::vector<uint8_t> bytes;
    size_t trackStart = 0; // first byte after the chunk length
    int64_t lastTick = 0;
};
