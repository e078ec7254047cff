#pragma once
// MIDI keyboard input through the ALSA sequencer. A thread of its own waits on the
// sequencer, turns what arrives into bytes for CMidiParser and hands the key events to the
// owner's thread through a CMidiEventPump, which emits keyEvent for each in short slices,
// so a flood never holds up the interface.
//
// The thread also follows the chosen port (CMidiPortTracker, by name): it connects when
// the port appears, reports the loss when the keyboard is unplugged and connects again when
// it comes back. Without a sequencer (no /dev/snd/seq) Start fails and nothing runs.
//
// Thread: the public methods and the signals on the owner's thread.

#include "preview/CMidiEventPump.h"
#include "preview/CMidiPortTracker.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CMidiInput : public QObject {
    Q_OBJECT
public:
    explicit CMidiInput(QObject* parent = nullptr);
    ~CMidiInput() override;

    // The input ports present now; empty without a sequencer.
    static std::vector<MIDI_PORT> ListPorts();

    // Opens the sequencer and starts the thread; false without a sequencer.
    bool Start();
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }
    // The port to listen to, by name; empty for none.
    void Choose(const std::string& name);
    // Events dropped because the interface fell behind.
    uint64_t Dropped() const { return m_pump.Dropped(); }

signals:
    void keyEvent(const MIDI_KEY_EVENT& event);
    void portConnected(const QString& name);
    void portLost(const QString& name);

private:
    struct Sequencer;

    void Run();
    void FollowPorts();
    void ReadEvents();

    std::unique_ptr<Sequencer> m_seq;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_rescan{true};
    std::mutex m_chosenLock; // guards m_chosen
    std::string m_chosen;
    CMidiPortTracker m_tracker; // the thread's
    CMidiEventPump m_pump;
};
