#pragma once
// Small pieces shared by the dialogs: the button row, key names, position and tempo texts,
// the base note value list of a time signature, and the edits of the timeline lists.

#include <QLabel>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

class CBeats;
class QDialog;
class QDialogButtonBox;
class QWidget;

namespace dlg {

// OK and "キャンセル" wired to accept() and reject(). OK is the default button.
QDialogButtonBox* MakeButtonBox(QDialog* dialog, const QString& okText = QStringLiteral("OK"));

// A label whose mnemonic moves the focus to `buddy`.
QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent = nullptr);

// A caption as a screen reader names a control after it: without its mnemonic and its
// closing colon ("位置(&P):" gives "位置").
QString PlainCaption(const QString& caption);

// Moves the controls inside `group` (a row of buttons made before the fields above it) to
// the end of its window's Tab chain, keeping their order among themselves, so that Tab
// reaches them last, as the eye does.
void PutLastInTabChain(QWidget* group);

// Display name of a key number 0 (B8) .. 95 (C1): "B8", "A+4", "C1".
QString KeyName(int32_t key);

// The song's signatures, or plain 4/4 when a dialog was given none.
const CBeats& BeatsOrFourFour(const CBeats* beats);
// The measure:tick text of a tick ("1:0" for tick 0).
QString PositionText(const CBeats* beats, int32_t tick);

// "%f" with the trailing zeros and a trailing point removed: 120 -> "120", 97.5 -> "97.5".
QString FormatTempo(double tempo);

// The base note values "1", "2", "4" ... "64"; list position i stands for 1 << i.
QStringList BaseBeatItems();
// List position of a stored base value: the first i whose bit is set; 2 ("4") when none is.
int BaseBeatIndex(int32_t baseBeat);
int32_t BaseBeatFromIndex(int index);

// Puts an edited entry of a timeline list back: in place while it keeps its start (`start`
// names the field, tick or measure), else removed and inserted at its new place, replacing
// an entry already there. Returns the row it now holds.
template <class List, class Item, class Start>
int PutBackEdited(List& list, int row, const Item& edited, Start Item::*start) {
    if (edited.*start == list[size_t(row)].*start) {
        list.SetAt(size_t(row), edited);
        return row;
    }
    list.RemoveAt(size_t(row));
    return static_cast<int>(list.Set(edited));
}

// Removes an entry of a timeline list that holds at least two; when it was the first, the
// next one moves to the start of the song.
template <class List, class Item, class Start>
void RemoveEntry(List& list, int row, Start Item::*start) {
    list.RemoveAt(size_t(row));
    if (row == 0) {
        Item first = list[0];
        first.*start = 0;
        list.SetAt(0, first);
    }
}

} // namespace dlg
