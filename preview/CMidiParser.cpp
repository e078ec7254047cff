#include "preview/CMidiParser.h"

namespace {

constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kEndOfSysEx = 0xF7;
constexpr uint8_t kRealTime = 0xF8;

// Data bytes that follow a status byte.
int DataBytes(uint8_t status) {
    switch (status & 0xF0) {
    case 0xC0: // program change
    case 0xD0: // channel pressure
        return 1;
    case 0xF0:
        switch (status) {
        case 0xF1: // time code quarter frame
        case 0xF3: // song select
            return 1;
        case 0xF2: // song position
            return 2;
        default:
            return 0;
        }
    default:
        return 2;
    }
}

} // namespace

std::optional<MIDI_KEY_EVENT> CMidiParser::Feed(uint8_t byte) {
    // Real-time bytes may come between any two bytes and change nothing.
    if (byte >= kRealTime)
        return std::nullopt;
    if (byte & 0x80) {
        m_sysEx = byte == kSysEx;
        m_count = 0;
        // System messages end the running status; an end of SysEx is no message itself.
        if (byte >= kSysEx) {
            m_status = 0;
            m_needed = byte == kSysEx || byte == kEndOfSysEx ? 0 : DataBytes(byte);
            if (!m_sysEx && m_needed > 0)
                m_status = byte;
            return std::nullopt;
        }
        m_status = byte;
        m_needed = DataBytes(byte);
        return std::nullopt;
    }
    if (m_sysEx || m_status == 0)
        return std::nullopt;
    m_data[m_count++] = byte;
    if (m_count < m_needed)
        return std::nullopt;
    m_count = 0;
    const std::optional<MIDI_KEY_EVENT> event = Complete();
    // A system common message is read once; channel messages repeat under running status.
    if (m_status >= kSysEx)
        m_status = 0;
    return event;
}

std::optional<MIDI_KEY_EVENT> CMidiParser::Complete() {
    const uint8_t kind = m_status & 0xF0;
    if (kind != kNoteOn && kind != kNoteOff)
        return std::nullopt;
    MIDI_KEY_EVENT event;
    event.on = kind == kNoteOn && m_data[1] != 0;
    event.channel = m_status & 0x0F;
    event.note = m_data[0];
    event.velocity = m_data[1];
    return event;
}

void CMidiParser::Reset() {
    m_status = 0;
    m_count = 0;
    m_needed = 0;
    m_sysEx = false;
}
