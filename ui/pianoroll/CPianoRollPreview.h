#pragma once
// The piano roll's own synthesizer: sounds the pitch of a row with the current track's
// sound while the user holds the button (note entry, selection, key column).
//
// The engine renders from a private copy of the song's time lists and of the track's
// settings (with its PCM sample loaded), never from the open song: edits, undo and track
// changes replace what the open song holds while a key may still be sounding. The copy is
// renewed on Prepare when the song or the track sounds differently; an unchanged PCM
// sample is not read from disk again.
//
// Thread: the user-interface thread.

#include "model/CProject.h"
#include "preview/CPreviewEngine.h"

#include <functional>

class CPianoRollPreview {
public:
    CPianoRollPreview();
    ~CPianoRollPreview();
    CPianoRollPreview(const CPianoRollPreview&) = delete;
    CPianoRollPreview& operator=(const CPianoRollPreview&) = delete;

    // Where the editor's output volume (0..1) comes from; without it, full volume.
    void SetOutputVolume(std::function<double()> volume) { m_outputVolume = std::move(volume); }

    // Takes the sound of `track` (null: none) in `project`; bufferMs is "PlayBufferSize".
    // Stops a sounding key.
    void Prepare(const CProject& project, const CTrack* track, int bufferMs);
    // Sounds a piano-roll row (0 = B8): the same row again does nothing, another row
    // replaces the one sounding.
    void Sound(int row);
    // Sounds a row beside the rows sounding (a chord, a MIDI keyboard) at level 0..1, up to
    // CPreviewEngine::kMaxVoices rows; ReleaseRow ends it alone.
    void HoldRow(int row, double level);
    void ReleaseRow(int row);
    void Stop();

    bool IsSounding() const;
    // The row sounding (of several, the one started last), -1 when none.
    int SoundingRow() const;
    bool IsRowSounding(int row) const;
    int RowsSounding() const { return m_engine.VoiceCount(); }
    const CTrack& Track() const { return m_track; }

private:
    void TakeTrack(const CTrack& track);
    double OutputVolume() const;

    CPreviewEngine m_engine;
    CProject m_project; // the song's properties only: no tracks
    CTrack m_track;     // the settings only: no notes
    int m_bufferMs = 0;
    bool m_hasTrack = false;
    std::function<double()> m_outputVolume;
};
