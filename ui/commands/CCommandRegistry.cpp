#include "ui/commands/CCommandRegistry.h"

#include <unordered_set>

void CCommandRegistry::AddTarget(CCommandSet& set, std::function<bool()> routed) {
    m_targets.push_back({&set, std::move(routed)});
}

std::vector<const COMMAND*> CCommandRegistry::Described() const {
    std::vector<const COMMAND*> described;
    std::unordered_set<int> seen;
    for (const TARGET& target : m_targets)
        for (const COMMAND& command : target.set->Commands()) {
            if (!command.Described())
                continue;
            const bool first = seen.insert(command.id).second;
            Q_ASSERT_X(first, "CCommandRegistry::Described", "command described twice");
            if (first)
                described.push_back(&command);
        }
    return described;
}

CCommandSet* CCommandRegistry::RoutedSet(int id) const {
    for (const TARGET& target : m_targets)
        if (target.set->Contains(id) && (!target.routed || target.routed()))
            return target.set;
    return nullptr;
}

bool CCommandRegistry::IsEnabled(int id) const {
    if (Suspended())
        return false;
    const CCommandSet* set = RoutedSet(id);
    return set != nullptr && set->Enabled(id).value_or(false);
}

bool CCommandRegistry::Run(int id) {
    if (!IsEnabled(id))
        return false;
    RoutedSet(id)->Run(id);
    return true;
}

std::optional<bool> CCommandRegistry::Checked(int id) const {
    const CCommandSet* set = RoutedSet(id);
    return set == nullptr ? std::nullopt : set->Checked(id);
}

int CCommandRegistry::KeyCommand(QKeyCombination key) const {
    const QKeySequence sequence(key);
    for (const TARGET& target : m_targets)
        for (const COMMAND& command : target.set->Commands())
            if (!command.Described() && command.keys.contains(sequence))
                return command.id;
    return 0;
}
