#pragma once
// The piano roll's one controller: the caret (the default note), every mouse gesture and
// caret key, and the drags they start. The widget converts its events to client pixels and
// forwards them here; what the gestures change in the song goes through CEditController's
// edit path, what they change on screen through IPianoRollCanvas.
//
// A left press is tested in this order: on a note (length or move drag), near the play
// line (play-line drag), on empty note area (rectangle selection or note entry), in the
// key column (octave-boundary zoom or row selection), in the ruler (measure-boundary zoom
// or column selection), in the corner (clear the selection). A drag does nothing until the
// pointer has moved kDragThreshold pixels; a 100 ms timer scrolls while the pointer is
// outside the note area. The middle button pans on a 10 ms timer.
//
// Thread: the user-interface thread only.

#include "model/CNote.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>
#include <memory>

class CEditController;
class CNoteDefaults;
class CPianoRollDrag;
class CPianoRollGeometry;
class CPianoRollPreview;
class CTrack;
class IPianoRollCanvas;
class QPainter;
struct OPTIONS;

class CPianoRollController : public QObject {
    Q_OBJECT
public:
    static constexpr int kAutoScrollMs = 100;
    static constexpr int kPanMs = 10;
    static constexpr int kPanDeadZone = 16;

    CPianoRollController(CEditController& edit, CNoteDefaults& defaults, const OPTIONS& options,
                         IPianoRollCanvas& canvas, CPianoRollPreview& preview,
                         QObject* parent = nullptr);
    ~CPianoRollController() override;

    // Pointer events in client pixels of the pane.
    void Press(const QPoint& pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Move(const QPoint& pos, Qt::MouseButtons buttons);
    void Release(const QPoint& pos, Qt::MouseButton button);
    void DoubleClick(const QPoint& pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // The pop-up menu: from the mouse at pos, or from the keyboard at the caret.
    void ContextMenu(const QPoint& pos, bool fromKeyboard, Qt::KeyboardModifiers modifiers);
    // Caret keys; false for keys it does not handle.
    bool Key(int key);
    // The pointer capture went away: the drag ends as on release.
    void CaptureLost();

    // Ends any drag and panning; with reset the caret goes back to the start.
    void Refresh(bool reset);
    // A refresh during which committed changes ask for no further redraw.
    bool IsRefreshing() const { return m_refreshing; }

    // The default note at the caret: caret position and row with the default length,
    // key-off, volume and portamento. Every entered note is a copy of it.
    CNote Caret() const;
    int32_t CaretPosition() const { return m_caretPosition; }
    int CaretRow() const { return m_caretRow; }
    void SetCaret(int32_t position, int row, bool scroll);

    bool IsDragging() const { return m_drag != nullptr; }
    bool IsPanning() const { return m_panning; }
    void PaintOverlay(QPainter& painter, const CPianoRollGeometry& geometry) const;
    QRect OverlayRect(const CPianoRollGeometry& geometry) const;

    // For the drag tools.
    CEditController& Edit() { return m_edit; }
    CNoteDefaults& Defaults() { return m_defaults; }
    const OPTIONS& Options() const { return m_options; }
    IPianoRollCanvas& Canvas() { return m_canvas; }
    const CTrack* Track() const;
    // The current track of the change in progress (CEditController::Changing).
    CTrack& ChangingTrack();
    // Sounds the row when "NotePlay" is on.
    void SoundNote(int row);
    // The pixels a note covers on screen (empty when it is off screen).
    QRect NoteRect(const CNote& note) const;
    // Merges the change in progress and asks for the piano roll to be redrawn.
    void Commit();
    // The note's length, key-off and volume become the default note's ("NoteSelectDefault").
    void TakeAsDefault(const CNote& note);

private:
    void PressLeft(const QPoint& pos, Qt::KeyboardModifiers modifiers);
    void PressOnNote(const CNote* note, bool rightEdge, const QPoint& pos,
                     Qt::KeyboardModifiers modifiers);
    void PressOnKeys(const QPoint& pos, bool ctrl);
    void PressOnRuler(const QPoint& pos, bool ctrl);
    void EnterNote(const QPoint& pos, bool ctrl);
    bool NearPlayLine(const QPoint& pos) const;
    void BeginDrag(std::unique_ptr<CPianoRollDrag> drag, const QPoint& pos);
    void EndDrag();
    void Hover(const QPoint& pos);
    void FollowPointer(const QPoint& pos, bool strict);
    void UpdateHoverCursor(const QPoint& pos);
    void ClearSelection();
    void SelectWhere(bool ctrl, const std::function<bool(const CNote&)>& match);
    void OnAutoScroll();
    void StartPanning(const QPoint& pos);
    void StopPanning();
    void OnPan();

    CEditController& m_edit;
    CNoteDefaults& m_defaults;
    const OPTIONS& m_options;
    IPianoRollCanvas& m_canvas;
    CPianoRollPreview& m_preview;

    int32_t m_caretPosition = 0;
    int m_caretRow = 0;
    CNote m_caretPortamento; // only the portamento fields are used

    std::unique_ptr<CPianoRollDrag> m_drag;
    QPoint m_pressPos;
    QPoint m_lastPos;
    bool m_moved = false;
    QTimer m_autoScroll;

    bool m_panning = false;
    bool m_panMoved = false;
    QPoint m_panOrigin;
    int m_panCursor = -1; // direction the pan cursor shows, (dy + 1) × 3 + dx + 1
    QTimer m_panTimer;

    bool m_refreshing = false;
};
