#include "ui/pianoroll/CPianoRollPlayLineDrag.h"

#include "ui/pianoroll/CPianoRollController.h"
#include "ui/pianoroll/PianoRollCanvas.h"

void CPianoRollPlayLineDrag::Move(const QPoint& pos) {
    if (pos.x() < CPianoRollGeometry::kKeyColumn)
        return;
    const CPianoRollGeometry g = m_c.Canvas().Geometry();
    const int32_t tick = g.Snap(g.TickOfX(pos.x()));
    if (tick != m_c.Canvas().PlayLine())
        m_c.Canvas().DragPlayLine(tick);
}
