// CMidiInput against the real ALSA sequencer: a virtual keyboard port made by the test is
// chosen, played, unplugged and plugged in again. Skipped where there is no sequencer.

#include "preview/CMidiInput.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A keyboard as the sequencer shows it: a client with one readable port.
class VirtualKeyboard {
public:
    VirtualKeyboard() {
        if (snd_seq_open(&m_seq, "default", SND_SEQ_OPEN_OUTPUT, 0) < 0) {
            m_seq = nullptr;
            return;
        }
        snd_seq_set_client_name(m_seq, "TsqTestKeys");
        Plug();
    }
    ~VirtualKeyboard() {
        if (m_seq != nullptr)
            snd_seq_close(m_seq);
    }
    bool Ok() const { return m_seq != nullptr && m_port >= 0; }
    void Plug() {
        m_port = snd_seq_create_simple_port(m_seq, "Keys",
                                            SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                            SND_SEQ_PORT_TYPE_MIDI_GENERIC);
    }
    void Unplug() {
        snd_seq_delete_simple_port(m_seq, m_port);
        m_port = -1;
    }
    void Note(bool on, int note, int velocity) {
        snd_seq_event_t ev;
        snd_seq_ev_clear(&ev);
        if (on)
            snd_seq_ev_set_noteon(&ev, 0, note, velocity);
        else
            snd_seq_ev_set_noteoff(&ev, 0, note, velocity);
        snd_seq_ev_set_source(&ev, m_port);
        snd_seq_ev_set_subs(&ev);
        snd_seq_ev_set_direct(&ev);
        snd_seq_event_output_direct(m_seq, &ev);
    }

private:
    snd_seq_t* m_seq = nullptr;
    int m_port = -1;
};

} // namespace

TEST(MidiSequencer, AVirtualKeyboardIsPlayedUnpluggedAndPluggedInAgain) {
    VirtualKeyboard keys;
    CMidiInput input;
    if (!keys.Ok() || !input.Start())
        GTEST_SKIP() << "no ALSA sequencer here";
    std::vector<MIDI_KEY_EVENT> events;
    int connected = 0;
    int lost = 0;
    QObject::connect(&input, &CMidiInput::keyEvent,
                     [&](const MIDI_KEY_EVENT& e) { events.push_back(e); });
    QObject::connect(&input, &CMidiInput::portConnected, [&] { ++connected; });
    QObject::connect(&input, &CMidiInput::portLost, [&] { ++lost; });
    input.Choose("TsqTestKeys: Keys");
    ASSERT_TRUE(WaitFor([&] { return connected == 1; }));

    keys.Note(true, 60, 100);
    keys.Note(false, 60, 0);
    ASSERT_TRUE(WaitFor([&] { return events.size() == 2; }));
    EXPECT_EQ(events[0], (MIDI_KEY_EVENT{true, 0, 60, 100}));
    EXPECT_FALSE(events[1].on);

    keys.Unplug();
    ASSERT_TRUE(WaitFor([&] { return lost == 1; }));
    keys.Plug();
    ASSERT_TRUE(WaitFor([&] { return connected == 2; }));
    keys.Note(true, 64, 90);
    ASSERT_TRUE(WaitFor([&] { return events.size() == 3; }));
    EXPECT_EQ(events[2].note, 64);
}
