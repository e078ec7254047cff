#pragma once
// What a window shows in words, for the tests of the English interface: every text of a
// widget and of what it holds (buttons, labels, boxes, lists, tabs, table headers, menus and
// their actions, tool tips and status-bar prompts), and the mnemonics of a menu.

#include <QString>
#include <QStringList>

class QMenu;
class QWidget;

// Whether `text` holds hiragana, katakana, CJK ideographs or full-width forms.
bool HasJapanese(const QString& text);

// The texts of `root` and everything under it that contain Japanese characters, each as
// "objectName/class: text"; empty when every text reads in another script.
QStringList JapaneseTexts(const QWidget& root);

// The mnemonic letters that more than one item of `menu` uses (actions and submenus).
QStringList DuplicateMnemonics(const QMenu& menu);
