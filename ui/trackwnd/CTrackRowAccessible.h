#pragma once
// One row of the track list as a screen reader sees it: a list item named
// "name、source kind、音量 n" with "、ミュート" while the track is muted
// (CTrackRowPainter::Reading). It follows the row by index, so it stays right while the
// list changes, and becomes invalid once the row is gone.

#include <QAccessibleInterface>
#include <QPointer>

class CTrackWnd;

class CTrackRowAccessible : public QAccessibleInterface {
public:
    CTrackRowAccessible(CTrackWnd* list, int row);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QPointer<CTrackWnd> m_list;
    int m_row;
};
