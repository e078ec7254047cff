#include "preview/CMidiInput.h"

#include <QMetaObject>
#include <QMetaType>

#include <alsa/asoundlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>

namespace {

constexpr int kPollMs = 1000; // a look at the ports even without an announcement
constexpr size_t kMaxEventBytes = 256;

// The ports a keyboard offers: readable by subscription, not our own, not the system's.
bool IsInputPort(snd_seq_port_info_t* info, int self) {
    const unsigned caps = snd_seq_port_info_get_capability(info);
    const unsigned wanted = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
    return (caps & wanted) == wanted && !(caps & SND_SEQ_PORT_CAP_NO_EXPORT) &&
           snd_seq_port_info_get_client(info) != self &&
           snd_seq_port_info_get_client(info) != SND_SEQ_CLIENT_SYSTEM;
}

std::vector<MIDI_PORT> PortsOf(snd_seq_t* seq) {
    std::vector<MIDI_PORT> ports;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    const int self = snd_seq_client_id(seq);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(seq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(seq, port) >= 0) {
            if (!IsInputPort(port, self))
                continue;
            ports.push_back({id, snd_seq_port_info_get_port(port),
                             std::string(snd_seq_client_info_get_name(client)) + ": " +
                                 snd_seq_port_info_get_name(port)});
        }
    }
    return ports;
}

} // namespace

struct CMidiInput::Sequencer {
    snd_seq_t* seq = nullptr;
    snd_midi_event_t* decoder = nullptr;
    int port = -1;
    int wake = -1; // an eventfd that ends the thread's wait
    CMidiParser parser;

    ~Sequencer() {
        if (decoder != nullptr)
            snd_midi_event_free(decoder);
        if (seq != nullptr)
            snd_seq_close(seq);
        if (wake >= 0)
            close(wake);
    }
};

CMidiInput::CMidiInput(QObject* parent) : QObject(parent) {
    qRegisterMetaType<MIDI_KEY_EVENT>();
    connect(&m_pump, &CMidiEventPump::keyEvent, this, &CMidiInput::keyEvent);
}

CMidiInput::~CMidiInput() {
    Stop();
}

std::vector<MIDI_PORT> CMidiInput::ListPorts() {
    snd_seq_t* seq = nullptr;
    if (snd_seq_open(&seq, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0)
        return {};
    std::vector<MIDI_PORT> ports = PortsOf(seq);
    snd_seq_close(seq);
    return ports;
}

bool CMidiInput::Start() {
    if (IsRunning())
        return true;
    auto s = std::make_unique<Sequencer>();
    if (snd_seq_open(&s->seq, "default", SND_SEQ_OPEN_INPUT, SND_SEQ_NONBLOCK) < 0)
        return false;
    snd_seq_set_client_name(s->seq, "Tesselaphon Editor");
    s->port = snd_seq_create_simple_port(
        s->seq, "Input", SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    s->wake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (s->port < 0 || s->wake < 0 || snd_midi_event_new(kMaxEventBytes, &s->decoder) < 0)
        return false;
    snd_midi_event_no_status(s->decoder, 1);
    // Announcements of ports coming and going.
    snd_seq_connect_from(s->seq, s->port, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    m_seq = std::move(s);
    m_stop = false;
    m_rescan = true;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CMidiInput::Stop() {
    if (!IsRunning())
        return;
    m_stop = true;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(m_seq->wake, &one, sizeof one);
    m_thread.join();
    m_seq.reset();
}

void CMidiInput::Choose(const std::string& name) {
    {
        std::lock_guard lock(m_chosenLock);
        m_chosen = name;
    }
    m_rescan = true;
    if (IsRunning()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(m_seq->wake, &one, sizeof one);
    }
}

void CMidiInput::Run() {
    const int count = snd_seq_poll_descriptors_count(m_seq->seq, POLLIN);
    std::vector<pollfd> fds(size_t(count) + 1);
    snd_seq_poll_descriptors(m_seq->seq, fds.data(), unsigned(count), POLLIN);
    fds.back() = {m_seq->wake, POLLIN, 0};
    while (!m_stop) {
        if (m_rescan.exchange(false))
            FollowPorts();
        const int ready = poll(fds.data(), fds.size(), kPollMs);
        if (ready == 0)
            m_rescan = true;
        if (fds.back().revents & POLLIN) {
            uint64_t value = 0;
            [[maybe_unused]] const ssize_t n = read(m_seq->wake, &value, sizeof value);
        }
        ReadEvents();
    }
}

// The tracker decides; the connection is made and undone here, on the thread that owns
// the sequencer handle.
void CMidiInput::FollowPorts() {
    std::string chosen;
    {
        std::lock_guard lock(m_chosenLock);
        chosen = m_chosen;
    }
    if (chosen != m_tracker.Chosen()) {
        if (m_tracker.IsConnected())
            snd_seq_disconnect_from(m_seq->seq, m_seq->port, m_tracker.Port().client,
                                    m_tracker.Port().port);
        m_tracker.Choose(chosen);
    }
    const MIDI_PORT old = m_tracker.Port();
    const bool wasConnected = m_tracker.IsConnected();
    const CMidiPortTracker::STEP step = m_tracker.Update(PortsOf(m_seq->seq));
    const QString name = QString::fromStdString(step.port.name);
    if (step.change == CMidiPortTracker::Change::Connect) {
        if (wasConnected)
            snd_seq_disconnect_from(m_seq->seq, m_seq->port, old.client, old.port);
        snd_seq_connect_from(m_seq->seq, m_seq->port, step.port.client, step.port.port);
        m_seq->parser.Reset();
        QMetaObject::invokeMethod(
            this, [this, name] { emit portConnected(name); }, Qt::QueuedConnection);
    } else if (step.change == CMidiPortTracker::Change::Lost) {
        QMetaObject::invokeMethod(
            this, [this, name] { emit portLost(name); }, Qt::QueuedConnection);
    }
}

void CMidiInput::ReadEvents() {
    snd_seq_event_t* event = nullptr;
    std::array<unsigned char, kMaxEventBytes> bytes{};
    bool pushed = false;
    while (snd_seq_event_input(m_seq->seq, &event) >= 0 && event != nullptr) {
        switch (event->type) {
        case SND_SEQ_EVENT_PORT_START:
        case SND_SEQ_EVENT_PORT_EXIT:
        case SND_SEQ_EVENT_CLIENT_START:
        case SND_SEQ_EVENT_CLIENT_EXIT:
            m_rescan = true;
            continue;
        default:
            break;
        }
        const long n = snd_midi_event_decode(m_seq->decoder, bytes.data(), bytes.size(), event);
        for (long i = 0; i < n; ++i)
            if (const auto key = m_seq->parser.Feed(bytes[size_t(i)]))
                pushed = m_pump.Push(*key) || pushed;
    }
    if (pushed)
        m_pump.Wake();
}
