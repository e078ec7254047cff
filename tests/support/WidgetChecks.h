#pragma once
// Checks over a window's widget tree that every window of both programs must pass: what a
// screen reader learns of the program's own controls, whether the keyboard reaches every
// control in the order the eye reads them, and whether any text is cut off. Each returns
// one line per fault, empty when all is well, so a failing test names every culprit.

#include <QStringList>

class QWidget;

namespace widget_checks {

// The program's own widgets (a class that is not Qt's) below `root`, windows aside, whose
// accessible interface has no name or no description. A name may come from a label whose
// buddy the widget is, as Qt reads it.
QStringList UnnamedCustomWidgets(QWidget* root);

// Controls the user works (buttons, edits, lists, sliders, tab bars and the program's own
// editing controls) that are visible and enabled in `window` but cannot be reached by Tab.
QStringList UnreachableControls(QWidget* window);

// Steps of the Tab chain of `window` that go against the reading order. Two controls are
// compared by the rectangles of their outermost ancestors that differ (so every control of
// a group box or a panel comes before or after the whole next one). Controls whose
// rectangles share a row go left to right, else top to bottom; a step up is allowed only
// onto a new column, wholly right of where it comes from.
QStringList TabOrderFaults(QWidget* window);

// Visible labels, buttons and group boxes in `window` smaller than their minimum size
// hint, that is, with their text or picture cut off.
QStringList ClippedWidgets(QWidget* window);

// Logs every fault on its own line and answers whether there were none, so that a check
// names all of its culprits however many there are.
bool Report(const QStringList& faults);

} // namespace widget_checks
