#pragma once
// The MIDI keyboard in the editor: listens to the chosen input port (CMidiInput) and plays
// each key through the piano roll's step input, which sounds it with the current track's
// sound and, while step input is on, enters it. The velocity becomes the note's volume
// (velocity × 255 / 127). A port that goes away or comes back is reported for the status
// bar.
//
// Thread: the user-interface thread only.

#include "preview/CMidiInput.h"

#include <QObject>

#include <string>

class CStepInput;

class CMidiKeyboard : public QObject {
    Q_OBJECT
public:
    explicit CMidiKeyboard(CStepInput& step, QObject* parent = nullptr);

    // The port to listen to by name; empty stops listening. Without a sequencer nothing
    // happens and the piano roll is unaffected.
    void Listen(const std::string& port);

    // One key event, as the input thread hands it over.
    void Play(const MIDI_KEY_EVENT& event);

    // The piano roll's row of a MIDI note (60 = C4 = row 59); -1 outside the 96 rows.
    static int RowOfNote(int note);
    static int VolumeOfVelocity(int velocity);

signals:
    void message(const QString& text);
    // A key went down or up; `key` counts upward as on the on-screen keyboard (0 = C1).
    void keyChanged(int key, bool down);

private:
    CStepInput& m_step;
    CMidiInput m_input;
};
