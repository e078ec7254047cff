#pragma once
// Every command of the editor window, gathered from the command sets of the panes and the
// frame. A command goes to the sets in the order they were added, each taking part only
// while it is routed (the track window while it has the keyboard focus); the first set that
// holds the command carries it out, and the same set answers whether it is enabled and
// checked. A command no routed set holds is disabled, and while the registry is suspended
// (a build running) every command is.
//
// Each command is described (caption, keys, icon, prompts) by exactly one set; other sets
// may carry it out as well (cut, copy, paste, delete and properties in both panes).
//
// Thread: the user-interface thread only.

#include "ui/commands/CCommandSet.h"

#include <functional>
#include <optional>
#include <vector>

class CCommandRegistry {
public:
    // `set` must outlive the registry. Without `routed` the set always takes part.
    void AddTarget(CCommandSet& set, std::function<bool()> routed = {});
    void SetSuspended(std::function<bool()> suspended) { m_suspended = std::move(suspended); }

    // The described commands of every set, in the order the sets were added and the
    // commands registered.
    std::vector<const COMMAND*> Described() const;

    bool IsEnabled(int id) const;
    // Runs an enabled command; false when it is disabled or no routed set holds it.
    bool Run(int id);
    // nullopt when the command has no check rule.
    std::optional<bool> Checked(int id) const;
    // The command without a menu item or action that `key` reaches, 0 when none. Such keys
    // (the note bar's boxes) outrank the menus' mnemonics the way accelerators do.
    int KeyCommand(QKeyCombination key) const;

private:
    struct TARGET {
        CCommandSet* set;
        std::function<bool()> routed;
    };

    // The set that carries the command out now; null when none does.
    CCommandSet* RoutedSet(int id) const;
    bool Suspended() const { return m_suspended && m_suspended(); }

    std::vector<TARGET> m_targets;
    std::function<bool()> m_suspended;
};
