#pragma once
// What a screen reader learns of the track list: a list with one item per row
// (CTrackRowAccessible), the current track's row being the selected and focused one.
// The row items are made when first asked for and live as long as this interface.

#include <QAccessibleWidget>
#include <QHash>

class CTrackWnd;

class CTrackWndAccessible : public QAccessibleWidget {
public:
    explicit CTrackWndAccessible(CTrackWnd* list);
    ~CTrackWndAccessible() override;

    // Makes Qt build this interface for every track list; calling it again does nothing.
    static void Install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    CTrackWnd* List() const;

    mutable QHash<int, QAccessible::Id> m_rows;
};
