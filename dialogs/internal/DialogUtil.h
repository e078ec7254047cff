#pragma once
// Small pieces shared by the dialogs: the button row, key names, tempo text and the base
// note value list of a time signature.

#include <QLabel>
#include <QString>
#include <QStringList>

#include <cstdint>

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace dlg {

// OK and "キャンセル" wired to accept() and reject(). OK is the default button.
QDialogButtonBox* MakeButtonBox(QDialog* dialog, const QString& okText = QStringLiteral("OK"));

// A label whose mnemonic moves the focus to `buddy`.
QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent = nullptr);

// Display name of a key number 0 (B8) .. 95 (C1): "B8", "A+4", "C1".
QString KeyName(int32_t key);

// "%f" with the trailing zeros and a trailing point removed: 120 -> "120", 97.5 -> "97.5".
QString FormatTempo(double tempo);

// The base note values "1", "2", "4" ... "64"; list position i stands for 1 << i.
QStringList BaseBeatItems();
// List position of a stored base value: the first i whose bit is set; 2 ("4") when none is.
int BaseBeatIndex(int32_t baseBeat);
int32_t BaseBeatFromIndex(int index);

} // namespace dlg
