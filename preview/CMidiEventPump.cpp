#include "preview/CMidiEventPump.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>

void CMidiEventPump::Wake() {
    if (!m_scheduled.exchange(true))
        QMetaObject::invokeMethod(this, &CMidiEventPump::Drain, Qt::QueuedConnection);
}

void CMidiEventPump::Drain() {
    QElapsedTimer slice;
    slice.start();
    while (slice.elapsed() < kSliceMs) {
        const std::optional<MIDI_KEY_EVENT> event = m_queue.Pop();
        if (!event) {
            m_scheduled = false;
            // An event pushed between the last look and the flag going down found the flag
            // still up and scheduled nothing.
            if (!m_queue.Empty())
                Wake();
            return;
        }
        emit keyEvent(*event);
    }
    QTimer::singleShot(kPauseMs, Qt::PreciseTimer, this, &CMidiEventPump::Drain);
}
