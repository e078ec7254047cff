#pragma once
// Where step input hands the keys it does not enter itself while a take records them: the
// keys of the computer keyboard's piano and of the MIDI keyboard during playback with
// "録音" armed. A `source` names the key that went down (a semitone of the computer
// keyboard or a MIDI row), so its release finds the note again.
//
// Thread: the user-interface thread only.

class IKeyRecorder {
public:
    virtual ~IKeyRecorder() = default;

    // True while a take records keys (armed and playing).
    virtual bool IsTaking() const = 0;
    // A key went down in `row` (0 = B8) with a volume of 0..255; false when the take does
    // not hold it (no current track, or the key is held already).
    virtual bool KeyDown(int source, int row, int volume) = 0;
    // The key was let go: the row it sounded in, so its sound can stop, or -1 when the key
    // was not held for the take.
    virtual int KeyUp(int source) = 0;
    // The releases will not arrive (the pane lost the focus): every held key ends now.
    // False when no key was held.
    virtual bool ReleaseAll() = 0;
};
