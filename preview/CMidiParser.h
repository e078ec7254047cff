#pragma once
// Reads the bytes of a MIDI input stream and gives the key events in it: note-on (a
// velocity of 0 is a note-off, as keyboards send it) and note-off, on any channel. Every
// other message is read past: running status, real-time bytes anywhere (even inside
// another message), system common messages, and SysEx of any length, which is skipped
// without being kept. Data bytes without a status are dropped. The parser keeps a few
// bytes of state and allocates nothing.
//
// Thread: any, one at a time.

#include <cstdint>
#include <optional>

struct MIDI_KEY_EVENT {
    bool on = false;
    uint8_t channel = 0;  // 0..15
    uint8_t note = 0;     // 0..127, 60 = middle C
    uint8_t velocity = 0; // 1..127 for note-on; the release velocity for note-off

    bool operator==(const MIDI_KEY_EVENT&) const = default;
};

class CMidiParser {
public:
    // Takes one byte; returns the key event it completes, if any.
    std::optional<MIDI_KEY_EVENT> Feed(uint8_t byte);
    // Forgets a message begun and the running status (a port reconnected).
    void Reset();

private:
    std::optional<MIDI_KEY_EVENT> Complete();

    uint8_t m_status = 0; // the running status; 0 when none
    uint8_t m_data[2] = {};
    int m_count = 0;  // data bytes of the current message read so far
    int m_needed = 0; // data bytes the status takes
    bool m_sysEx = false;
};
