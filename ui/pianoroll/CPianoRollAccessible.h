#pragma once
// What a screen reader learns of the piano roll: its name and description, and as its value
// the caret and the note under it in words (CPianoRollWnd::CaretReading). The pane sends a
// value change with every caret move, so the reader follows the arrow keys.

#include <QAccessibleWidget>

class CPianoRollWnd;

class CPianoRollAccessible : public QAccessibleWidget {
public:
    explicit CPianoRollAccessible(CPianoRollWnd* pane);

    // Makes Qt build this interface for every piano roll; calling it again does nothing.
    static void Install();

    QString text(QAccessible::Text t) const override;
};
