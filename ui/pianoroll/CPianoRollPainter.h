#pragma once
// Paints the piano roll's static picture: the ruler with measure numbers, tempo and volume
// markers and loop marks (their texts laid out by CPianoRollRuler), the key column, the rows
// and the beat grid, then the notes (see CPianoRollNotePainter). The widget keeps this picture in a
// pixmap and paints the moving parts (position caret, play line, selection rectangle) over it.
//
// Paint() may be asked for any rectangle of the client area: everything that reaches into
// it is drawn again, clipped to it, and only the rows, measures and note buckets under it
// are visited. Strips repainted this way match a full repaint pixel for pixel.
//
// Thread: the user-interface thread.

#include "ui/pianoroll/CPianoRollRuler.h"

#include <QColor>
#include <QFont>
#include <QRect>

class CNote;
class CPianoRollGeometry;
class CProject;
class QPainter;
struct OPTIONS;

// What one picture is made of.
struct PIANO_ROLL_SCENE {
    const CPianoRollGeometry& geometry;
    const CProject& project;
    const OPTIONS& options;
    const CNote& caret; // the default note at the caret: position, row and default length
    const QFont& boldFont;
    const QFont& mediumFont;
    QColor workspace; // below the last row
};

class CPianoRollPainter {
public:
    static constexpr QColor kRulerColor{232, 232, 232};
    static constexpr QColor kLightGrey{208, 208, 208};
    static constexpr QColor kMidGrey{128, 128, 128};
    static constexpr QColor kKeyFace{64, 64, 64};

    explicit CPianoRollPainter(const PIANO_ROLL_SCENE& scene);

    void Paint(QPainter& painter, const QRect& clip) const;

private:
    void PaintRuler(QPainter& painter) const;
    void PaintKeyColumn(QPainter& painter) const;
    void PaintRows(QPainter& painter, const QRect& clip) const;
    void PaintBlackRow(QPainter& painter, int y) const;
    void PaintWhiteRow(QPainter& painter, int row, int y) const;
    void PaintCorner(QPainter& painter) const;
    void PaintGrid(QPainter& painter, const QRect& clip) const;
    void PaintMeasure(QPainter& painter, int32_t measure, int32_t start) const;
    void PaintRulerMarks(QPainter& painter, const QRect& clip) const;

    const PIANO_ROLL_SCENE& m_scene;
    const CPianoRollGeometry& m_g;
    const CPianoRollRuler m_ruler;
};
