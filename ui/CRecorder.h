#pragma once
// "録音": while it is armed and the song plays, the keys of the computer keyboard's piano and
// of the MIDI keyboard are entered on the current track where the song sounded when they
// went down. The start snaps to the nearest grid point of the fit unit, the length to a
// whole number of fit units (at least one); a MIDI key's velocity is its volume, a
// computer key gets the note bar's volume.
//
// A note is entered as its key comes up, so live playback sounds it on the next pass; the
// notes of one take (one playback) join one undo step. A backward jump of the play position
// that nobody asked for is the loop wrapping: the notes held then end at the loop's end,
// and the next pass adds its own. A seek or the end of playback ends them where the play
// position was.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/IKeyRecorder.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class CCommandSet;
class CEditController;
class CNoteDefaults;

// What the recorder needs of playback.
struct RECORD_CLOCK {
    std::function<bool()> playing;
    std::function<int32_t()> tick; // the tick of the song as it sounds now
    // The stretch [start, end) playback loops instead of the song's endless loop, if any.
    std::function<std::optional<std::pair<int32_t, int32_t>>()> loopRegion;
};

class CRecorder : public QObject, public IKeyRecorder {
    Q_OBJECT
public:
    CRecorder(CEditController& edit, CNoteDefaults& defaults, RECORD_CLOCK clock,
              QObject* parent = nullptr);

    bool IsArmed() const { return m_armed; }
    void SetArmed(bool armed);
    // The toggle of "再生" and the play bar, Ctrl+R.
    void RegisterCommands(CCommandSet& set);

    bool IsTaking() const override;
    bool KeyDown(int source, int row, int volume) override;
    int KeyUp(int source) override;
    bool ReleaseAll() override;

    // Playback started: a new take begins at `tick`.
    void Started(int32_t tick);
    // The play position as the position timer reads it.
    void Follow(int32_t tick);
    // Playback is about to jump away from `tick` (seek, rewind, fast forward).
    void Seeking(int32_t tick);
    // Playback ends; `tick` is where it was.
    void Stopping(int32_t tick);

signals:
    void toggled(bool armed);

private:
    struct HELD {
        int source = 0;
        int row = 0;
        int volume = 0;
        int track = -1;
        int32_t start = 0;
        bool open = true; // false once its note was entered; the key may still be down
    };

    void CloseHeld(int32_t end);
    void Enter(const HELD& held, int32_t end);
    bool TakeStepIsNewest() const;
    int32_t PassEnd(int32_t tick) const;

    CEditController& m_edit;
    CNoteDefaults& m_defaults;
    RECORD_CLOCK m_clock;
    bool m_armed = false;
    std::vector<HELD> m_held;
    int32_t m_lastTick = -1; // the play position last seen during this take
    bool m_takeHasStep = false;
    int m_stepCursor = -1; // the undo ring's cursor after the take's step
};
