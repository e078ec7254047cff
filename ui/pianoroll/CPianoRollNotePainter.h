#pragma once
// Paints the notes: those of the other tracks (muted ones first) when the view shows them,
// the note caret, then the notes of the current track. Each note is its rectangle or, with
// a glide shown, its glide band (CPianoRollNoteShape), filled in its colour lightened by
// its volume, outlined in that colour halved, flat or as a vertical gradation.
//
// Only the 1920-tick buckets under the clip rectangle are visited; a note stored in
// several buckets is painted once, through its head or through its segment in the first
// bucket visited.
//
// Thread: the user-interface thread.

#include "ui/pianoroll/CPianoRollPainter.h"

#include <QColor>

class CPianoRollNoteShape;
class CTrack;

class CPianoRollNotePainter {
public:
    explicit CPianoRollNotePainter(const PIANO_ROLL_SCENE& scene);

    void Paint(QPainter& painter, const QRect& clip) const;

private:
    enum class Style { kActive, kInactive };

    void PaintTrack(QPainter& painter, const QRect& clip, const CTrack& track, Style style,
                    const QColor& color) const;
    void PaintCaret(QPainter& painter, const QRect& clip) const;
    void PaintNote(QPainter& painter, const QRect& clip, const CNote& note, Style style,
                   const QColor& color) const;
    void PaintRectangle(QPainter& painter, const QRect& rect, const QColor& fill,
                        bool gradation) const;
    void PaintGlide(QPainter& painter, const QRect& clip, const CPianoRollNoteShape& shape,
                    const QColor& fill, bool gradation) const;
    QColor OtherTrackColor(const CTrack& track) const;

    const PIANO_ROLL_SCENE& m_scene;
};
