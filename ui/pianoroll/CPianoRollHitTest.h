#pragma once
// Which notes of a track lie under a point or meet a rectangle, by their drawn shapes.
// Only the 1920-tick buckets the point or rectangle can reach are visited, so a question
// costs the same in a song of a hundred notes or of a hundred thousand.
//
// Thread: the user-interface thread (it reads the open song).

#include "model/CNote.h"

#include <cstdint>

class CPianoRollGeometry;
class CTempoList;
class CTrack;

class CPianoRollHitTest {
public:
    CPianoRollHitTest(const CTrack& track, const CPianoRollGeometry& geometry,
                      const CTempoList& tempos, bool portamento);

    struct HIT {
        const CNote* note = nullptr; // head of the note under the point, null when none
        bool rightEdge = false;
    };
    // The note drawn on top at a point of the note area. Where notes overlap, the one
    // painted last wins, as the eye sees it.
    HIT NoteAt(int x, int y) const;

    // Heads of the notes whose shapes meet [left, right) × [top, bottom), bucket by bucket;
    // only notes that touch ticks [fromTick, toTick] are looked at.
    CConstNoteArray NotesMeeting(int64_t left, double top, int64_t right, double bottom,
                                 int32_t fromTick, int32_t toTick) const;

private:
    const CTrack& m_track;
    const CPianoRollGeometry& m_geometry;
    const CTempoList& m_tempos;
    bool m_portamento;
};
