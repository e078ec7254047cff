#include "ui/pianoroll/CPianoRollMoveDrag.h"

#include "common/Options.h"
#include "model/CTrack.h"
#include "ui/CEditController.h"
#include "ui/pianoroll/CPianoRollController.h"
#include "ui/pianoroll/PianoRollCanvas.h"

#include <algorithm>
#include <limits>

CPianoRollMoveDrag::CPianoRollMoveDrag(CPianoRollController& controller, const PRESS& press)
    : m_c(controller), m_press(press) {
}

std::vector<size_t> CPianoRollMoveDrag::Moving() const {
    const CTrack* track = m_c.Track();
    std::vector<size_t> moving;
    if (track == nullptr)
        return moving;
    const size_t count = track->Selection().size();
    if (m_press.index >= 0) {
        if (static_cast<size_t>(m_press.index) < count)
            moving.push_back(static_cast<size_t>(m_press.index));
        return moving;
    }
    moving.resize(count);
    for (size_t i = 0; i < count; ++i)
        moving[i] = i;
    return moving;
}

const CNote* CPianoRollMoveDrag::Reference() const {
    const CTrack* track = m_c.Track();
    const std::vector<size_t> moving = Moving();
    return moving.empty() ? nullptr : track->Selection()[moving.front()];
}

void CPianoRollMoveDrag::Start() {
    const CTrack* track = m_c.Track();
    const CNote* reference = Reference();
    if (track == nullptr || reference == nullptr)
        return;
    const std::vector<size_t> moving = Moving();
    if (!m_press.added) {
        m_c.Edit().RecordChange();
        CTrack& changing = m_c.ChangingTrack();
        for (size_t i : moving) {
            const CNote& note = *changing.Selection()[i];
            if (m_press.ctrl)
                changing.AddNote(note); // the copy stays behind, unselected
            else
                m_c.Edit().MarkNote(changing, note);
        }
    }
    const CNote caret = m_c.Caret();
    m_positionOffset = caret.position - reference->position;
    m_rowOffset = caret.key - reference->key;
    m_minPosition = std::numeric_limits<int32_t>::max();
    m_minRow = CPianoRollGeometry::kRows - 1;
    m_maxRow = 0;
    for (size_t i : moving) {
        const CNote& note = *track->Selection()[i];
        m_minPosition = std::min(m_minPosition, note.position);
        m_minRow = std::min(m_minRow, note.key);
        m_maxRow = std::max(m_maxRow, note.key);
    }
}

void CPianoRollMoveDrag::Move(const QPoint& pos) {
    const CNote* reference = Reference();
    if (reference == nullptr)
        return;
    const CPianoRollGeometry g = m_c.Canvas().Geometry();
    const int row = g.RowOfY(pos.y());
    const int64_t tick = g.Snap(g.TickOfX(pos.x()));
    m_c.SoundNote(row);
    // No note goes before tick 0 or off the keyboard; all stop together.
    const int64_t ticks =
        std::max<int64_t>(tick - m_positionOffset - reference->position, -int64_t{m_minPosition});
    int rows = row - m_rowOffset - reference->key;
    rows = std::clamp(rows, std::min(-m_minRow, 0),
                      std::max(CPianoRollGeometry::kRows - 1 - m_maxRow, 0));
    if (ticks == 0 && rows == 0)
        return;
    const QRect before = Bounds();
    Shift(static_cast<int32_t>(std::min<int64_t>(ticks, std::numeric_limits<int32_t>::max())),
          rows);
    m_c.Canvas().InvalidateNotes(before);
    m_c.Canvas().InvalidateNotes(Bounds());
}

void CPianoRollMoveDrag::Shift(int32_t ticks, int rows) {
    CTrack& track = m_c.ChangingTrack();
    for (size_t i : Moving()) {
        CNote values = *track.Selection()[i];
        values.position = static_cast<int32_t>(std::min<int64_t>(
            int64_t{values.position} + ticks, std::numeric_limits<int32_t>::max()));
        values.key += rows;
        // Keeps the note's place in the selection, so the indices stay valid.
        track.ReplaceNote(track.Selection()[i], values);
    }
    m_minPosition += ticks;
    m_minRow += rows;
    m_maxRow += rows;
}

QRect CPianoRollMoveDrag::Bounds() const {
    const CTrack* track = m_c.Track();
    QRect bounds;
    for (size_t i : Moving())
        bounds |= m_c.NoteRect(*track->Selection()[i]);
    return bounds;
}

void CPianoRollMoveDrag::Finish(bool moved) {
    const CTrack* track = m_c.Track();
    if (track == nullptr)
        return;
    const std::vector<size_t> moving = Moving();
    if (m_c.Options().noteSelectDefault != 0 && m_press.index >= 0 && !moving.empty())
        m_c.TakeAsDefault(*track->Selection()[moving.front()]);
    if (!moved && !m_press.added) {
        FinishClick();
        return;
    }
    for (size_t i : moving)
        m_c.Edit().MarkNote(*track, *track->Selection()[i]);
    m_c.Commit();
}

void CPianoRollMoveDrag::FinishClick() {
    const CTrack* track = m_c.Track();
    if (m_press.clicked == nullptr)
        return;
    // A command run while the button was held (a key, undo) may have removed the note.
    bool present = false;
    track->ForEachNote([&](const CNote* note) { present = present || note == m_press.clicked; });
    if (!present)
        return;
    if (!m_press.ctrl) {
        m_c.Edit().SelectNote(nullptr, false);
        m_c.Edit().SelectNote(m_press.clicked, true);
    } else if (m_press.clickedWasSelected) {
        m_c.Edit().SelectNote(m_press.clicked, false);
    }
    m_c.Canvas().InvalidateAll();
    m_c.Canvas().SelectionChanged();
}
