#include "ui/CUndoRing.h"

#include <algorithm>
#include <utility>

CUndoRing::CUndoRing() : m_slots(std::make_unique<std::array<CProject, kSlots>>()) {
}

void CUndoRing::Record(const CProject& before) {
    (*m_slots)[m_cursor] = before;
    m_cursor = (m_cursor + 1) % kSlots;
    m_undoDepth = std::min(m_undoDepth + 1, kMaxDepth);
    m_redoDepth = 0;
}

// The slot that a step restores from is never read again before it is overwritten (by the
// opposite step or by the next Record), so both directions move instead of copying.
void CUndoRing::Undo(CProject& current) {
    if (!CanUndo())
        return;
    (*m_slots)[m_cursor] = std::move(current);
    m_cursor = (m_cursor + kSlots - 1) % kSlots;
    --m_undoDepth;
    m_redoDepth = std::min(m_redoDepth + 1, kMaxDepth);
    current = std::move((*m_slots)[m_cursor]);
}

void CUndoRing::Redo(CProject& current) {
    if (!CanRedo())
        return;
    (*m_slots)[m_cursor] = std::move(current);
    m_cursor = (m_cursor + 1) % kSlots;
    m_undoDepth = std::min(m_undoDepth + 1, kMaxDepth);
    --m_redoDepth;
    current = std::move((*m_slots)[m_cursor]);
}

void CUndoRing::Revert(CProject& current) {
    if (!CanUndo())
        return;
    m_cursor = (m_cursor + kSlots - 1) % kSlots;
    --m_undoDepth;
    m_redoDepth = 0;
    current = std::move((*m_slots)[m_cursor]);
}

void CUndoRing::Clear() {
    for (CProject& slot : *m_slots)
        slot = CProject();
    m_cursor = 0;
    m_undoDepth = 0;
    m_redoDepth = 0;
}

std::vector<CProject> CUndoRing::UndoSteps() const {
    std::vector<CProject> steps;
    steps.reserve(size_t(m_undoDepth));
    for (int i = m_undoDepth; i > 0; --i)
        steps.push_back((*m_slots)[(m_cursor + kSlots - i) % kSlots]);
    return steps;
}

void CUndoRing::RestoreUndoSteps(std::vector<CProject> steps) {
    Clear();
    const size_t first = steps.size() > size_t(kMaxDepth) ? steps.size() - kMaxDepth : 0;
    for (size_t i = first; i < steps.size(); ++i) {
        (*m_slots)[m_cursor] = std::move(steps[i]);
        m_cursor = (m_cursor + 1) % kSlots;
        ++m_undoDepth;
    }
}
