#include "ui/trackwnd/CTrackWndAccessible.h"

#include "ui/trackwnd/CTrackRowAccessible.h"
#include "ui/trackwnd/CTrackWnd.h"
#include "ui/widgets/AccessibleFactory.h"

CTrackWndAccessible::CTrackWndAccessible(CTrackWnd* list)
    : QAccessibleWidget(list, QAccessible::List) {
}

CTrackWndAccessible::~CTrackWndAccessible() {
    for (const QAccessible::Id id : std::as_const(m_rows))
        QAccessible::deleteAccessibleInterface(id);
}

void CTrackWndAccessible::Install() {
    InstallAccessible<CTrackWnd, CTrackWndAccessible>();
}

CTrackWnd* CTrackWndAccessible::List() const {
    return static_cast<CTrackWnd*>(widget());
}

int CTrackWndAccessible::childCount() const {
    return List()->count();
}

QAccessibleInterface* CTrackWndAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto found = m_rows.constFind(index);
    if (found != m_rows.cend())
        return QAccessible::accessibleInterface(*found);
    auto* row = new CTrackRowAccessible(List(), index);
    m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int CTrackWndAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child == nullptr)
        return -1;
    const int row = m_rows.key(QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)), -1);
    return row < childCount() ? row : -1;
}

QAccessibleInterface* CTrackWndAccessible::childAt(int x, int y) const {
    const QPoint pos = List()->viewport()->mapFromGlobal(QPoint(x, y));
    for (int row = 0; row < childCount(); ++row)
        if (List()->RowRect(row).contains(pos))
            return child(row);
    return nullptr;
}

QAccessibleInterface* CTrackWndAccessible::focusChild() const {
    return List()->hasFocus() ? child(List()->currentRow()) : nullptr;
}
