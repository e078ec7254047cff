#include "ui/pianoroll/CPianoRollZoomDrag.h"

#include "ui/pianoroll/CPianoRollController.h"
#include "ui/pianoroll/PianoRollCanvas.h"

CPianoRollZoomDrag CPianoRollZoomDrag::Octave(CPianoRollController& controller, int row) {
    return CPianoRollZoomDrag(controller, true, row);
}

CPianoRollZoomDrag CPianoRollZoomDrag::Measure(CPianoRollController& controller, int32_t boundary) {
    return CPianoRollZoomDrag(controller, false, boundary);
}

void CPianoRollZoomDrag::Move(const QPoint& pos) {
    const CPianoRollGeometry g = m_c.Canvas().Geometry();
    if (m_octave) {
        const int zoomY = g.ZoomYForOctaveDrag(static_cast<int>(m_line), pos.y());
        if (zoomY != g.ZoomY())
            m_c.Canvas().SetZoom(g.ZoomX(), zoomY);
        return;
    }
    const std::optional<int> zoomX = g.ZoomXForMeasureDrag(static_cast<int32_t>(m_line), pos.x());
    if (zoomX && *zoomX != g.ZoomX())
        m_c.Canvas().SetZoom(*zoomX, g.ZoomY());
}
