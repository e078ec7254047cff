#include "ui/trackwnd/CTrackRowAccessible.h"

#include "ui/trackwnd/CTrackWnd.h"

#include <QWidget>

CTrackRowAccessible::CTrackRowAccessible(CTrackWnd* list, int row) : m_list(list), m_row(row) {
}

bool CTrackRowAccessible::isValid() const {
    return m_list != nullptr && m_row < m_list->count();
}

QWindow* CTrackRowAccessible::window() const {
    return m_list != nullptr ? m_list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* CTrackRowAccessible::parent() const {
    return m_list != nullptr ? QAccessible::queryAccessibleInterface(m_list) : nullptr;
}

QString CTrackRowAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !isValid())
        return {};
    return m_list->RowReading(m_row);
}

QRect CTrackRowAccessible::rect() const {
    if (!isValid())
        return {};
    const QRect row = m_list->RowRect(m_row);
    return QRect(m_list->viewport()->mapToGlobal(row.topLeft()), row.size());
}

QAccessible::State CTrackRowAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.focusable = true;
    const bool current = m_row == m_list->currentRow();
    state.selected = current;
    state.focused = current && m_list->hasFocus();
    state.invisible = !m_list->viewport()->rect().intersects(m_list->RowRect(m_row));
    return state;
}
