#pragma once
// Which MIDI input port to listen to, followed across unplugging and plugging in. The
// chosen port is known by its name, since the sequencer gives a keyboard plugged in again
// a new address. Each look at the ports present says what to do: connect to the chosen
// port when it appears (or appears at a new address), report it lost when it goes away.
// Plain logic, so it is tested without a sequencer.
//
// Thread: any, one at a time.

#include <string>
#include <vector>

struct MIDI_PORT {
    int client = 0;
    int port = 0;
    std::string name; // "client name: port name"

    bool operator==(const MIDI_PORT&) const = default;
};

class CMidiPortTracker {
public:
    enum class Change { None, Connect, Lost };
    struct STEP {
        Change change = Change::None;
        MIDI_PORT port; // the port to connect to, or the port lost
    };

    // The port to listen to; an empty name listens to none. Forgets the connection.
    void Choose(std::string name);
    const std::string& Chosen() const { return m_chosen; }
    // Called with the ports present now; the caller carries out the step.
    STEP Update(const std::vector<MIDI_PORT>& present);
    bool IsConnected() const { return m_connected; }
    const MIDI_PORT& Port() const { return m_port; }

private:
    std::string m_chosen;
    bool m_connected = false;
    MIDI_PORT m_port;
};
