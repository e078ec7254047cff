#pragma once
// The editor's commands as data: identifier, caption (with its "&" mnemonic and, after a
// tab, the key text of the menu), keys, icon, status-bar prompt and tool tip. The frame
// makes one QAction per entry from it; menus, bars and shortcuts share those actions.

#include <QKeySequence>
#include <QList>
#include <QString>

#include <vector>

struct COMMAND_INFO {
    enum class Kind { Plain, Check, Radio };

    int id = 0;
    QString caption;          // menu caption; the part after "\t" names the keys
    QList<QKeySequence> keys; // the first is shown in menus
    QString icon;             // icon name: ":/icons/<icon>.svg" and the theme's name
    QString prompt;           // "status-bar prompt\ntool tip"
    Kind kind = Kind::Plain;

    // The caption without the key text.
    QString MenuText() const { return caption.section(u'\t', 0, 0); }
    QString StatusTip() const { return prompt.section(u'\n', 0, 0); }
    // The second line of the prompt, else the caption without mnemonic and dots.
    QString ToolTip() const;
};

class CCommandTable {
public:
    static const std::vector<COMMAND_INFO>& All();
    // Null for an unknown identifier.
    static const COMMAND_INFO* Find(int id);
};
