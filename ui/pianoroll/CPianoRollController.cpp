#include "ui/pianoroll/CPianoRollController.h"

#include "common/Options.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CNoteDefaults.h"
#include "ui/CommandIds.h"
#include "ui/pianoroll/CPianoRollHitTest.h"
#include "ui/pianoroll/CPianoRollLengthDrag.h"
#include "ui/pianoroll/CPianoRollMoveDrag.h"
#include "ui/pianoroll/CPianoRollNoteShape.h"
#include "ui/pianoroll/CPianoRollPlayLineDrag.h"
#include "ui/pianoroll/CPianoRollPreview.h"
#include "ui/pianoroll/CPianoRollSelectDrag.h"
#include "ui/pianoroll/CPianoRollZoomDrag.h"
#include "ui/pianoroll/PianoRollCanvas.h"
#include "ui/pianoroll/PianoRollCursors.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kRows = CPianoRollGeometry::kRows;
constexpr int kKeyColumn = CPianoRollGeometry::kKeyColumn;

} // namespace

CPianoRollController::CPianoRollController(CEditController& edit, CNoteDefaults& defaults,
                                           const OPTIONS& options, IPianoRollCanvas& canvas,
                                           CPianoRollPreview& preview, QObject* parent)
    : QObject(parent), m_edit(edit), m_defaults(defaults), m_options(options), m_canvas(canvas),
      m_preview(preview) {
    m_autoScroll.setInterval(kAutoScrollMs);
    m_panTimer.setInterval(kPanMs);
    connect(&m_autoScroll, &QTimer::timeout, this, &CPianoRollController::OnAutoScroll);
    connect(&m_panTimer, &QTimer::timeout, this, &CPianoRollController::OnPan);
}

CPianoRollController::~CPianoRollController() = default;

const CTrack* CPianoRollController::Track() const {
    return m_edit.Project().CurrentTrack();
}

CTrack& CPianoRollController::ChangingTrack() {
    return *m_edit.Changing().CurrentTrack();
}

CNote CPianoRollController::Caret() const {
    CNote caret = m_caretPortamento;
    caret.position = m_caretPosition;
    caret.key = m_caretRow;
    caret.length = m_defaults.Length();
    caret.keyoff = m_defaults.Keyoff();
    caret.volume = m_defaults.Volume();
    return caret;
}

void CPianoRollController::SetCaret(int32_t position, int row, bool scroll) {
    position = std::max(position, 0);
    row = std::clamp(row, 0, kRows - 1);
    if (position != m_caretPosition || row != m_caretRow) {
        const CNote old = Caret();
        m_caretPosition = position;
        m_caretRow = row;
        m_canvas.CaretMoved(old);
    }
    if (scroll)
        m_canvas.ScrollToShow(position, row);
}

QRect CPianoRollController::NoteRect(const CNote& note) const {
    const CPianoRollGeometry g = m_canvas.Geometry();
    const CPianoRollNoteShape shape(note, g, m_edit.Project().data.tempos,
                                    m_options.viewPortamento != 0);
    const QRect client(0, 0, g.Width(), g.Height());
    if (shape.Right() <= 0 || shape.Left() >= g.Width())
        return {};
    const int left = static_cast<int>(std::max<int64_t>(shape.Left(), -1));
    const int right = static_cast<int>(std::min<int64_t>(shape.Right(), g.Width() + 1));
    const int top = static_cast<int>(std::floor(shape.Top())) - 1;
    const int bottom = static_cast<int>(std::ceil(shape.Bottom())) + 1;
    return QRect(QPoint(left, top), QPoint(right, bottom)) & client;
}

void CPianoRollController::SoundNote(int row) {
    if (m_options.notePlay != 0)
        m_preview.Sound(row);
}

void CPianoRollController::Commit() {
    m_edit.CommitChange(m_refreshing ? CEditController::kViewNone
                                     : CEditController::kViewPianoRoll);
}

void CPianoRollController::TakeAsDefault(const CNote& note) {
    const CNote old = Caret();
    m_defaults.SetLength(note.length);
    m_defaults.SetKeyoff(note.keyoff);
    m_defaults.SetVolume(note.volume);
    m_canvas.CaretMoved(old);
}

// ---- presses ---------------------------------------------------------------------------

void CPianoRollController::Press(const QPoint& pos, Qt::MouseButton button,
                                 Qt::KeyboardModifiers modifiers) {
    m_lastPos = pos;
    if (m_panning) {
        StopPanning(); // a sticky pan ends with the next press of any button
        return;
    }
    if (m_drag != nullptr)
        return;
    if (button == Qt::MiddleButton)
        StartPanning(pos);
    else if (button == Qt::LeftButton)
        PressLeft(pos, modifiers);
}

void CPianoRollController::PressLeft(const QPoint& pos, Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    FollowPointer(pos, true);
    const CPianoRollGeometry g = m_canvas.Geometry();
    const CPianoRollGeometry::Area area = g.AreaOf(pos.x(), pos.y());
    const CTrack* track = Track();
    if (area == CPianoRollGeometry::Area::kNotes && track != nullptr) {
        const CPianoRollHitTest hits(*track, g, m_edit.Project().data.tempos,
                                     m_options.viewPortamento != 0);
        const CPianoRollHitTest::HIT hit = hits.NoteAt(pos.x(), pos.y());
        if (hit.note != nullptr) {
            PressOnNote(hit.note, hit.rightEdge, pos, modifiers);
            return;
        }
    }
    if (NearPlayLine(pos)) {
        BeginDrag(std::make_unique<CPianoRollPlayLineDrag>(*this), pos);
        return;
    }
    switch (area) {
    case CPianoRollGeometry::Area::kNotes:
        if (m_options.noteSingleClickAdd == 0 || shift) {
            if (!ctrl)
                ClearSelection();
            BeginDrag(std::make_unique<CPianoRollSelectDrag>(
                          *this, CPianoRollSelectDrag::Kind::kRectangle),
                      pos);
        } else {
            EnterNote(pos, ctrl);
        }
        break;
    case CPianoRollGeometry::Area::kKeys:
        PressOnKeys(pos, ctrl);
        break;
    case CPianoRollGeometry::Area::kRuler:
        PressOnRuler(pos, ctrl);
        break;
    case CPianoRollGeometry::Area::kCorner:
        ClearSelection();
        break;
    }
}

void CPianoRollController::PressOnNote(const CNote* note, bool rightEdge, const QPoint& pos,
                                       Qt::KeyboardModifiers modifiers) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (shift || (m_options.noteRightDragLength != 0 && rightEdge)) {
        if (!ctrl)
            m_edit.SelectNote(nullptr, false);
        const int index = m_edit.SelectNote(note, true);
        BeginDrag(std::make_unique<CPianoRollLengthDrag>(*this, index, false), pos);
        m_canvas.ShowCursor(QCursor(Qt::SizeHorCursor));
    } else {
        CPianoRollMoveDrag::PRESS press;
        press.ctrl = ctrl;
        press.clicked = note;
        press.clickedWasSelected = note->selected != 0;
        if (!press.clickedWasSelected) {
            if (!ctrl)
                m_edit.SelectNote(nullptr, false);
            m_edit.SelectNote(note, true);
        }
        press.index = Track()->Selection().size() == 1 ? 0 : -1;
        BeginDrag(std::make_unique<CPianoRollMoveDrag>(*this, press), pos);
        m_canvas.ShowCursor(QCursor(Qt::SizeAllCursor));
    }
    m_canvas.InvalidateAll();
    m_canvas.SelectionChanged();
    SoundNote(m_canvas.Geometry().RowOfY(pos.y()));
}

void CPianoRollController::EnterNote(const QPoint& pos, bool ctrl) {
    if (Track() == nullptr)
        return;
    m_edit.RecordChange();
    CTrack& track = ChangingTrack();
    if (!ctrl)
        track.SelectNote(nullptr, false);
    const CNote* note = track.AddNote(Caret());
    const int index = track.SelectNote(note, true);
    m_canvas.InvalidateAll();
    m_canvas.SelectionChanged();
    SoundNote(m_caretRow);
    if (m_options.noteAdd == 1) {
        CPianoRollMoveDrag::PRESS press;
        press.index = index;
        press.added = true;
        BeginDrag(std::make_unique<CPianoRollMoveDrag>(*this, press), pos);
    } else if (m_options.noteAdd == 2) {
        BeginDrag(std::make_unique<CPianoRollLengthDrag>(*this, index, true), pos);
    } else {
        m_edit.MarkNote(track, *note);
        Commit();
    }
}

void CPianoRollController::PressOnKeys(const QPoint& pos, bool ctrl) {
    const CPianoRollGeometry g = m_canvas.Geometry();
    if (const std::optional<int> row = g.OctaveBoundaryNear(pos.y())) {
        BeginDrag(std::make_unique<CPianoRollZoomDrag>(CPianoRollZoomDrag::Octave(*this, *row)),
                  pos);
        return;
    }
    if (m_options.keyboardPlay != 0)
        m_preview.Sound(g.RowOfY(pos.y()));
    if (!ctrl)
        ClearSelection();
    BeginDrag(std::make_unique<CPianoRollSelectDrag>(*this, CPianoRollSelectDrag::Kind::kRows),
              pos);
}

void CPianoRollController::PressOnRuler(const QPoint& pos, bool ctrl) {
    const CPianoRollGeometry g = m_canvas.Geometry();
    if (const std::optional<int32_t> boundary = g.MeasureBoundaryNear(pos.x())) {
        BeginDrag(
            std::make_unique<CPianoRollZoomDrag>(CPianoRollZoomDrag::Measure(*this, *boundary)),
            pos);
        return;
    }
    if (!ctrl)
        ClearSelection();
    BeginDrag(std::make_unique<CPianoRollSelectDrag>(*this, CPianoRollSelectDrag::Kind::kColumns),
              pos);
}

bool CPianoRollController::NearPlayLine(const QPoint& pos) const {
    const CPianoRollGeometry g = m_canvas.Geometry();
    const int64_t x = g.XOfTick(m_canvas.PlayLine());
    return x >= kKeyColumn && x < g.Width() &&
           std::abs(x - pos.x()) <= CPianoRollGeometry::kGrabPixels;
}

// ---- dragging --------------------------------------------------------------------------

void CPianoRollController::BeginDrag(std::unique_ptr<CPianoRollDrag> drag, const QPoint& pos) {
    m_drag = std::move(drag);
    m_pressPos = pos;
    m_moved = false;
    m_autoScroll.start();
}

void CPianoRollController::Move(const QPoint& pos, Qt::MouseButtons) {
    m_lastPos = pos;
    if (m_panning) {
        const QPoint d = pos - m_panOrigin;
        if (std::abs(d.x()) > kPanDeadZone || std::abs(d.y()) > kPanDeadZone)
            m_panMoved = true;
        return;
    }
    if (m_drag == nullptr) {
        Hover(pos);
        return;
    }
    if (!m_moved) {
        const QPoint d = pos - m_pressPos;
        if (std::abs(d.x()) < CPianoRollGeometry::kDragThreshold &&
            std::abs(d.y()) < CPianoRollGeometry::kDragThreshold)
            return;
        m_moved = true;
        m_drag->Start();
    }
    if (m_drag->MovesCaret())
        FollowPointer(pos, false);
    m_drag->Move(pos);
}

void CPianoRollController::Release(const QPoint& pos, Qt::MouseButton button) {
    m_lastPos = pos;
    if (button == Qt::MiddleButton) {
        if (m_panning && m_panMoved)
            StopPanning();
        return;
    }
    if (button != Qt::LeftButton)
        return;
    m_preview.Stop();
    EndDrag();
    UpdateHoverCursor(pos);
}

void CPianoRollController::CaptureLost() {
    m_preview.Stop();
    EndDrag();
    if (m_panning)
        StopPanning();
}

void CPianoRollController::EndDrag() {
    if (m_drag == nullptr)
        return;
    m_autoScroll.stop();
    // Let go first: finishing may commit, and the refresh that follows must find no drag.
    std::unique_ptr<CPianoRollDrag> drag = std::move(m_drag);
    const bool moved = m_moved;
    m_moved = false;
    m_canvas.InvalidateOverlay(drag->OverlayRect(m_canvas.Geometry()));
    drag->Finish(moved);
}

void CPianoRollController::OnAutoScroll() {
    if (m_drag == nullptr || !m_moved)
        return;
    const CPianoRollGeometry g = m_canvas.Geometry();
    int dx = 0;
    int dy = 0;
    if (m_drag->ScrollsX()) {
        if (m_lastPos.x() < kKeyColumn && g.FirstTick() > 0)
            dx = -1;
        else if (m_lastPos.x() >= g.Width())
            dx = 1;
    }
    if (m_drag->ScrollsY()) {
        if (m_lastPos.y() < g.RulerHeight() && g.FirstRow() > 0)
            dy = -1;
        else if (m_lastPos.y() >= g.Height())
            dy = 1;
    }
    if ((dx == 0 && dy == 0) || !m_canvas.ScrollLines(dx, dy))
        return;
    // What lies under the pointer changed with the view.
    if (m_drag->MovesCaret())
        FollowPointer(m_lastPos, false);
    m_drag->Move(m_lastPos);
}

void CPianoRollController::PaintOverlay(QPainter& painter, const CPianoRollGeometry& g) const {
    if (m_drag != nullptr)
        m_drag->PaintOverlay(painter, g);
}

QRect CPianoRollController::OverlayRect(const CPianoRollGeometry& g) const {
    return m_drag != nullptr ? m_drag->OverlayRect(g) : QRect();
}

// ---- hover and caret -------------------------------------------------------------------

void CPianoRollController::Hover(const QPoint& pos) {
    FollowPointer(pos, true);
    UpdateHoverCursor(pos);
}

// While hovering the caret takes the pointer's snapped tick right of the key column and
// its row below the ruler; during a drag the row also follows a pointer above the notes.
void CPianoRollController::FollowPointer(const QPoint& pos, bool strict) {
    const CPianoRollGeometry g = m_canvas.Geometry();
    int32_t position = m_caretPosition;
    int row = m_caretRow;
    if (!strict || pos.x() >= kKeyColumn)
        position = g.Snap(g.TickOfX(pos.x()));
    if (!strict || pos.y() >= g.RulerHeight())
        row = g.RowOfY(pos.y());
    SetCaret(position, row, false);
}

void CPianoRollController::UpdateHoverCursor(const QPoint& pos) {
    if (m_panning)
        return;
    const CPianoRollGeometry g = m_canvas.Geometry();
    switch (g.AreaOf(pos.x(), pos.y())) {
    case CPianoRollGeometry::Area::kRuler:
        if (g.MeasureBoundaryNear(pos.x())) {
            m_canvas.ShowCursor(piano_roll_cursors::MeasureBoundary());
            return;
        }
        break;
    case CPianoRollGeometry::Area::kKeys:
        if (g.OctaveBoundaryNear(pos.y())) {
            m_canvas.ShowCursor(piano_roll_cursors::OctaveBoundary());
            return;
        }
        break;
    default:
        break;
    }
    m_canvas.ShowCursor(QCursor(Qt::ArrowCursor));
}

bool CPianoRollController::Key(int key) {
    const CBeats& beats = m_edit.Project().data.beats;
    const int64_t fit = std::max(m_defaults.Fit(), 1);
    int64_t position = m_caretPosition;
    int row = m_caretRow;
    switch (key) {
    case Qt::Key_PageUp:
        position = position > 0 ? beats.MeasureToTick(beats.TickToMeasure(m_caretPosition - 1)) : 0;
        break;
    case Qt::Key_PageDown:
        position = beats.MeasureToTick(beats.TickToMeasure(m_caretPosition) + 1);
        break;
    case Qt::Key_Home:
        position = 0;
        break;
    case Qt::Key_End:
        position = m_edit.Project().GetEndTick();
        break;
    case Qt::Key_Left:
        position = std::max<int64_t>(position - fit, 0);
        break;
    case Qt::Key_Right:
        position += fit;
        break;
    case Qt::Key_Up:
        row = std::max(row - 1, 0);
        break;
    case Qt::Key_Down:
        row = std::min(row + 1, kRows - 1);
        break;
    default:
        return false;
    }
    position = std::min<int64_t>(position, std::numeric_limits<int32_t>::max());
    SetCaret(static_cast<int32_t>(position), row, true);
    return true;
}

// ---- double click, context menu, selection ----------------------------------------------

void CPianoRollController::DoubleClick(const QPoint& pos, Qt::MouseButton button,
                                       Qt::KeyboardModifiers modifiers) {
    if (button != Qt::LeftButton || m_drag != nullptr || m_panning) {
        Press(pos, button, modifiers);
        return;
    }
    const bool ctrl = modifiers & Qt::ControlModifier;
    FollowPointer(pos, true);
    const CPianoRollGeometry g = m_canvas.Geometry();
    const CTrack* track = Track();
    if (track == nullptr)
        return;
    switch (g.AreaOf(pos.x(), pos.y())) {
    case CPianoRollGeometry::Area::kNotes: {
        const CPianoRollHitTest hits(*track, g, m_edit.Project().data.tempos,
                                     m_options.viewPortamento != 0);
        if (hits.NoteAt(pos.x(), pos.y()).note != nullptr)
            m_canvas.RequestCommand(cmd::kProperties);
        else
            EnterNote(pos, ctrl);
        break;
    }
    case CPianoRollGeometry::Area::kKeys:
        SelectWhere(ctrl, [row = m_caretRow](const CNote& n) { return n.key == row; });
        if (m_options.keyboardPlay != 0)
            m_preview.Sound(m_caretRow);
        break;
    case CPianoRollGeometry::Area::kRuler: {
        const int32_t block = m_caretPosition / CTrack::kBucketTicks;
        SelectWhere(ctrl,
                    [block](const CNote& n) { return n.position / CTrack::kBucketTicks == block; });
        break;
    }
    case CPianoRollGeometry::Area::kCorner:
        SelectWhere(true, [](const CNote&) { return true; });
        break;
    }
}

void CPianoRollController::ContextMenu(const QPoint& pos, bool fromKeyboard,
                                       Qt::KeyboardModifiers modifiers) {
    const CPianoRollGeometry g = m_canvas.Geometry();
    if (fromKeyboard) {
        const int half = g.ZoomY() / 2;
        const int64_t x = g.XOfTick(m_caretPosition) + half;
        m_canvas.RequestContextMenu(QPoint(static_cast<int>(std::clamp<int64_t>(x, 0, g.Width())),
                                           g.YOfRow(m_caretRow) + half));
        return;
    }
    const CTrack* track = Track();
    if (track != nullptr && !(modifiers & Qt::ControlModifier) &&
        g.AreaOf(pos.x(), pos.y()) == CPianoRollGeometry::Area::kNotes) {
        const CPianoRollHitTest hits(*track, g, m_edit.Project().data.tempos,
                                     m_options.viewPortamento != 0);
        const CNote* note = hits.NoteAt(pos.x(), pos.y()).note;
        if (note != nullptr && note->selected == 0) {
            m_edit.SelectNote(nullptr, false);
            m_edit.SelectNote(note, true);
            m_canvas.InvalidateAll();
            m_canvas.SelectionChanged();
        }
    }
    m_canvas.RequestContextMenu(pos);
}

void CPianoRollController::ClearSelection() {
    const CTrack* track = Track();
    if (track == nullptr || track->Selection().empty())
        return;
    m_edit.SelectNote(nullptr, false);
    m_canvas.InvalidateAll();
    m_canvas.SelectionChanged();
}

void CPianoRollController::SelectWhere(bool ctrl, const std::function<bool(const CNote&)>& match) {
    const CTrack* track = Track();
    if (track == nullptr)
        return;
    if (!ctrl)
        m_edit.SelectNote(nullptr, false);
    track->ForEachNote([&](const CNote* note) {
        if (note->selected == 0 && match(*note))
            m_edit.SelectNote(note, true);
    });
    m_canvas.InvalidateAll();
    m_canvas.SelectionChanged();
}

// ---- middle-button panning -------------------------------------------------------------

void CPianoRollController::StartPanning(const QPoint& pos) {
    m_panning = true;
    m_panMoved = false;
    m_panOrigin = pos;
    m_canvas.GrabPointer(true);
    m_panCursor = 4;
    m_canvas.ShowCursor(piano_roll_cursors::Pan(0, 0));
    m_panTimer.start();
}

void CPianoRollController::StopPanning() {
    m_panTimer.stop();
    m_panning = false;
    m_canvas.GrabPointer(false);
    UpdateHoverCursor(m_lastPos);
}

void CPianoRollController::OnPan() {
    const QPoint d = m_lastPos - m_panOrigin;
    const int dx = d.x() > kPanDeadZone ? 1 : (d.x() < -kPanDeadZone ? -1 : 0);
    const int dy = d.y() > kPanDeadZone ? 1 : (d.y() < -kPanDeadZone ? -1 : 0);
    const int direction = (dy + 1) * 3 + dx + 1;
    if (direction != m_panCursor) {
        m_panCursor = direction;
        m_canvas.ShowCursor(piano_roll_cursors::Pan(dx, dy));
    }
    if (dx != 0 || dy != 0)
        m_canvas.ScrollLines(dx, dy);
}

// ---- refresh ---------------------------------------------------------------------------

void CPianoRollController::Refresh(bool reset) {
    m_refreshing = true;
    m_preview.Stop();
    EndDrag();
    if (m_panning)
        StopPanning();
    m_refreshing = false;
    if (reset) {
        const CNote old = Caret();
        m_caretPosition = 0;
        m_caretRow = 0;
        m_canvas.CaretMoved(old);
    }
    m_preview.Prepare(m_edit.Project(), Track(), m_options.playBufferSize);
}
