#pragma once
// The commands one part of the editor window carries out — a pane, or the frame through its
// controllers — each registered once with everything about it: identifier, caption, keys,
// icon, prompts, kind, and the rules that run it, enable it and check it. The frame gathers
// the sets in CCommandRegistry, which routes among them; a pane's set alone is what its
// tests drive.
//
// A registration reads
//   set.Add({.id = cmd::kUndo,
//            .caption = "元に戻す(&U)\tCtrl+Z",
//            .keys = Keys(Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace),
//            ...
//            .run = [&edit] { edit.Undo(); },
//            .enabled = [&edit] { return edit.CanUndo(); }});
//
// Thread: the user-interface thread only.

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

struct COMMAND {
    enum class Kind { Plain, Check, Radio };

    int id = 0;
    // The menu caption, with its "&" mnemonic and, after a tab, the keys it names. Empty
    // when another set describes the command and this one only carries it out while it is
    // routed there, and for a key without a menu item or action (the note bar's boxes).
    QString caption{};
    QList<QKeySequence> keys{}; // the first is the one menus show
    QString icon{};             // ":/icons/<icon>.svg", else the desktop theme's icon
    QString prompt{};           // "status-bar prompt\ntool tip"
    Kind kind = Kind::Plain;
    std::function<void()> run{};
    std::function<bool()> enabled{}; // none: always enabled
    std::function<bool()> checked{}; // the mark of a check or radio item

    bool Described() const { return !caption.isEmpty(); }
    // The caption without the key text.
    QString MenuText() const { return caption.section(u'\t', 0, 0); }
    QString StatusTip() const { return prompt.section(u'\n', 0, 0); }
    // The second line of the prompt, else the caption without mnemonic and dots.
    QString ToolTip() const;
};

// Keys written as combinations: Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_B, Qt::Key_F7).
template <typename... Combination> QList<QKeySequence> Keys(Combination... keys) {
    return {QKeySequence(QKeyCombination(keys))...};
}

class CCommandSet {
public:
    // An identifier is registered once per set; a second registration is ignored.
    void Add(COMMAND command);

    bool Contains(int id) const { return m_index.count(id) != 0; }
    // nullopt when the command is not in this set, else whether it is enabled now.
    std::optional<bool> Enabled(int id) const;
    // Runs the command if it is enabled. False when it is not in this set.
    bool Run(int id);
    // nullopt when the command is not in this set or has no check rule.
    std::optional<bool> Checked(int id) const;

    // In the order they were registered.
    const std::vector<COMMAND>& Commands() const { return m_commands; }

private:
    const COMMAND* Find(int id) const;

    std::vector<COMMAND> m_commands;
    std::unordered_map<int, size_t> m_index;
};
