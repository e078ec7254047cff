#include "ui/trackwnd/CTrackRowDrag.h"

#include <algorithm>
#include <cstdlib>

void CTrackRowDrag::Press(const QPoint& point, int sourceRow) {
    Reset();
    m_pressed = true;
    m_pressPoint = point;
    m_sourceRow = sourceRow;
}

bool CTrackRowDrag::Move(const QPoint& point) {
    if (!m_pressed || m_sourceRow < 0)
        return false;
    if (!m_dragging && (std::abs(point.x() - m_pressPoint.x()) >= kThreshold ||
                        std::abs(point.y() - m_pressPoint.y()) >= kThreshold))
        m_dragging = true;
    return m_dragging;
}

// A copy lands anywhere, even beside its source; a move onto the source row or the row
// after it would put the track back where it is.
bool CTrackRowDrag::DropChangesSomething() const {
    if (m_dropRow < 0 || m_sourceRow < 0)
        return false;
    return m_copy || (m_dropRow != m_sourceRow && m_dropRow != m_sourceRow + 1);
}

int CTrackRowDrag::DropRowAt(int y, bool inside, int rowHeight, int rowCount) {
    if (!inside || y < 0)
        return -1;
    return std::min(y / std::max(rowHeight, 1), rowCount);
}
