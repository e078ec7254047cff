#include "preview/CMidiPortTracker.h"

#include <algorithm>

void CMidiPortTracker::Choose(std::string name) {
    m_chosen = std::move(name);
    m_connected = false;
    m_port = {};
}

CMidiPortTracker::STEP CMidiPortTracker::Update(const std::vector<MIDI_PORT>& present) {
    if (m_chosen.empty())
        return {};
    const auto found = std::find_if(present.begin(), present.end(),
                                    [this](const MIDI_PORT& p) { return p.name == m_chosen; });
    if (found == present.end()) {
        if (!m_connected)
            return {};
        m_connected = false;
        return {Change::Lost, m_port};
    }
    if (m_connected && *found == m_port)
        return {};
    m_connected = true;
    m_port = *found;
    return {Change::Connect, m_port};
}
