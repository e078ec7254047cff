#include "ui/pianoroll/CPianoRollLengthDrag.h"

#include "common/Options.h"
#include "model/CTrack.h"
#include "ui/CEditController.h"
#include "ui/pianoroll/CPianoRollController.h"
#include "ui/pianoroll/PianoRollCanvas.h"

#include <algorithm>
#include <limits>

CPianoRollLengthDrag::CPianoRollLengthDrag(CPianoRollController& controller, int index, bool added)
    : m_c(controller), m_index(index), m_added(added) {
}

const CNote* CPianoRollLengthDrag::Note() const {
    const CTrack* track = m_c.Track();
    if (track == nullptr || m_index < 0 ||
        static_cast<size_t>(m_index) >= track->Selection().size())
        return nullptr;
    return track->Selection()[static_cast<size_t>(m_index)];
}

void CPianoRollLengthDrag::Start() {
    const CNote* note = Note();
    if (note == nullptr || m_added)
        return;
    m_c.Edit().RecordChange();
    m_c.Edit().MarkNote(*m_c.Track(), *note);
}

void CPianoRollLengthDrag::Move(const QPoint& pos) {
    const CNote* note = Note();
    if (note == nullptr)
        return;
    const CPianoRollGeometry g = m_c.Canvas().Geometry();
    const int32_t fit = std::max(g.View().fit, 1);
    int64_t length = int64_t{fit} + g.Snap(g.TickOfX(pos.x())) - note->position;
    if (length < 1)
        length = fit;
    length = std::min<int64_t>(length, std::numeric_limits<int32_t>::max() - note->position);
    if (length == note->length)
        return;
    const QRect before = m_c.NoteRect(*note);
    CNote values = *note;
    values.length = static_cast<int32_t>(length);
    const CNote* replaced = m_c.ChangingTrack().ReplaceNote(note, values);
    m_c.Canvas().InvalidateNotes(before);
    m_c.Canvas().InvalidateNotes(m_c.NoteRect(*replaced));
}

void CPianoRollLengthDrag::Finish(bool moved) {
    const CNote* note = Note();
    if (note == nullptr)
        return;
    if (m_c.Options().noteSelectDefault != 0)
        m_c.TakeAsDefault(*note);
    if (!moved && !m_added)
        return;
    m_c.Edit().MarkNote(*m_c.Track(), *note);
    m_c.Commit();
}
