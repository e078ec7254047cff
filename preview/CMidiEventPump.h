#pragma once
// Key events from the MIDI reading thread to the owner's thread. The reading thread pushes
// into a CMidiEventQueue and wakes the pump; the owner's thread takes the events in slices
// of at most kSliceMs and emits keyEvent for each. After a full slice the rest waits for a
// timer of kPauseMs, so the event loop's own timers, input and painting always get their
// turn between two slices: a flood never holds up the interface for much more than a
// slice.
//
// Thread: Push and Wake on the reading thread; the signal and the rest on the owner's.

#include "preview/CMidiEventQueue.h"

#include <QObject>

#include <atomic>
#include <cstdint>

class CMidiEventPump : public QObject {
    Q_OBJECT
public:
    static constexpr int kSliceMs = 4;
    static constexpr int kPauseMs = 1;

    using QObject::QObject;

    // False (the event is dropped and counted) when the owner has fallen too far behind.
    bool Push(const MIDI_KEY_EVENT& event) { return m_queue.Push(event); }
    // After pushing: makes sure a slice is coming.
    void Wake();
    uint64_t Dropped() const { return m_queue.Dropped(); }

signals:
    void keyEvent(const MIDI_KEY_EVENT& event);

private:
    void Drain();

    CMidiEventQueue m_queue;
    // A slice is on its way; set by whoever schedules one, cleared only when the queue
    // was found empty.
    std::atomic<bool> m_scheduled{false};
};
