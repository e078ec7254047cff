#pragma once
// Step input: while the mode is on, the piano roll takes musical keys. A key (computer
// keyboard or MIDI keyboard) adds a copy of the default note at the caret on the current
// track in its own row, sounds it, and, once every key of the chord is let go, moves the
// caret on by the default length. Keys pressed while others are held join the chord: one
// undo step holds the whole chord. A rest moves the caret without a note; Back takes the
// last entry away and moves the caret back to it.
//
// The computer keyboard's base octave is the caret's: C of the caret row's octave is the
// first key of the lower row (StepKeys.h); the octave keys move the caret a row octave.
//
// While a take records (IKeyRecorder), the musical keys go to it instead, whether the mode
// is on or not; they still sound here.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/StepKeys.h"

#include <QObject>

#include <cstdint>
#include <vector>

class CCommandSet;
class CEditController;
class CNoteDefaults;
class CPianoRollController;
class CPianoRollPreview;
class IPianoRollView;

class IKeyRecorder;

class CStepInput : public QObject {
    Q_OBJECT
public:
    // Entries Back can take away, newest last; older ones are forgotten.
    static constexpr size_t kMaxHistory = 256;

    CStepInput(CEditController& edit, CNoteDefaults& defaults, CPianoRollController& roll,
               IPianoRollView& view, CPianoRollPreview& preview, QObject* parent = nullptr);

    bool IsOn() const { return m_on; }
    void SetOn(bool on);
    // Who records keys during playback; null for none. It must outlive this object.
    void SetRecorder(IKeyRecorder* recorder) { m_recorder = recorder; }
    // The toggle of the "音符" menu and the note bar, Ctrl+Shift+I.
    void RegisterCommands(CCommandSet& set);

    // A key of the computer keyboard; false when the mode is off or the key is no step key,
    // so the piano roll handles it as before. Repeats of a held key do nothing.
    bool KeyPress(const STEP_KEY& key, bool autoRepeat);
    bool KeyRelease(const STEP_KEY& key, bool autoRepeat);
    // A key of a MIDI keyboard: `row` is the piano roll's row (0 = B8), volume 0..255. It
    // sounds whether the mode is on or not, and enters notes while it is on.
    void NoteOn(int row, int volume);
    void NoteOff(int row);
    // The keys' releases will not arrive (the pane lost the focus): the chord and the keys
    // held for a take end.
    void ReleaseAll();

signals:
    void toggled(bool on);

private:
    // Who holds a key of the chord: a key of the computer keyboard or a MIDI note.
    struct HELD {
        int source;
        int row;
    };
    struct ENTRY {
        int track = -1;
        int32_t position = 0;
        int32_t length = 0;
        std::vector<int> rows; // empty for a rest
    };

    bool Recording() const;
    void RecordDown(int source, int row, int volume);
    bool RecordUp(int source);
    void Press(int source, int row, int volume);
    bool Release(int source);
    bool AddToChord(int row, int volume);
    bool ChordStepIsNewest() const;
    void Rest();
    void Back();
    void MoveOctave(int rows);
    void Advance(const ENTRY& entry);
    void Remember(ENTRY entry);
    int RowOfSemitone(int semitone) const;

    CEditController& m_edit;
    CNoteDefaults& m_defaults;
    CPianoRollController& m_roll;
    IPianoRollView& m_view;
    CPianoRollPreview& m_preview;
    IKeyRecorder* m_recorder = nullptr;

    bool m_on = false;
    std::vector<HELD> m_held;
    ENTRY m_chord; // the chord being held, while m_held is not empty
    bool m_chordHasStep = false;
    int m_stepCursor = -1; // the undo ring's cursor after the chord's step
    std::vector<ENTRY> m_history;
};
