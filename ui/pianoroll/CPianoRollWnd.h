#pragma once
// The piano roll: the notes of the current track on a grid of time against pitch, with
// the caret (the default note's position and row) and the play line.
//
// Public interface used by the frame (keep it when the pane is redrawn):
//   Refresh(reset)          redraw from the project; reset scrolls back to the start
//   CaretPosition/CaretRow  the caret, read by the commands that act at the caret
//   SetCaret                moves the caret and scrolls it into view
//   SetPlayLine(tick, scroll)  the play line; scroll brings it into view
//   VerticalScroll/SetVerticalScroll  the key row at the top ("PianoRollWndVScroll")
//   SetOutputVolumeSource   where the editor's output volume comes from (previews)
//   NoteCommands            the note commands routed to the pane (CNoteCommands)
//   statusChanged           texts of the status bar's message, key and position panes
//   commandRequested        a gesture asks for a frame command (double click: properties)
//   contextMenuRequested    the "PianoRollWnd" pop-up menu at a global position
//   playStartDragged        the user dragged the play line to a tick
//   commandStateChanged     something the command enabling depends on changed
//
// The widget is a thin canvas: it converts events to client pixels for its controller
// (CPianoRollController, which owns the gestures and drags), keeps the static picture
// (grid and notes, CPianoRollPainter) in a pixmap and paints the position caret, the play
// line and the selection rectangle over it. Moving the caret, the play line or dragged
// notes repaints only the strips they leave and enter. All coordinates come from
// CPianoRollGeometry. The fit unit and the default note's length, key-off and volume come
// from CNoteDefaults; every change to the song goes through CEditController's edit path.
//
// Thread: the user-interface thread only.

#include "ui/pianoroll/IPianoRollView.h"
#include "ui/pianoroll/PianoRollCanvas.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPixmap>
#include <QRegion>

#include <cstdint>
#include <functional>
#include <memory>

class CEditController;
class CMessagePrompts;
class CNote;
class CNoteCommands;
class CNoteDefaults;
class CPianoRollController;
class CPianoRollPreview;
class CStepInput;
class IUserPrompts;
struct OPTIONS;

class CPianoRollWnd : public QAbstractScrollArea, public IPianoRollView, private IPianoRollCanvas {
    Q_OBJECT
public:
    static constexpr int kKeyColumn = CPianoRollGeometry::kKeyColumn;
    static constexpr int kRows = CPianoRollGeometry::kRows;

    // The zoom drags write "PianoRollZoomX" and "PianoRollZoomY" into `options`. Without
    // `prompts` the note commands use the real message boxes.
    CPianoRollWnd(CEditController& edit, CNoteDefaults& defaults, OPTIONS& options,
                  QWidget* parent = nullptr, IUserPrompts* prompts = nullptr);
    ~CPianoRollWnd() override;

    void Refresh(bool reset);
    int32_t CaretPosition() const override;
    int CaretRow() const override;
    void SetCaret(int32_t position, int row) override;
    void SetPlayLine(int32_t tick, bool scroll);
    int32_t PlayLine() const override { return m_playLine; }
    int VerticalScroll() const;
    void SetVerticalScroll(int row);
    void SetOutputVolumeSource(std::function<double()> volume);
    CNoteCommands& NoteCommands() { return *m_commands; }
    // The synthesizer that sounds entered and selected notes and the key column.
    const CPianoRollPreview& Preview() const { return *m_preview; }
    // Step input: while it is on, the pane takes musical keys.
    CStepInput& StepInput() { return *m_stepInput; }

    // The view as it is now (client pixels of the viewport).
    CPianoRollGeometry Geometry() const override;
    // The caret and the note under it in words, for screen readers
    // (piano_roll_text::CaretReading); sent with every caret move.
    QString CaretReading() const;

    void NotesChanged() override;

signals:
    void statusChanged(const QString& message, const QString& key, const QString& position);
    void commandRequested(int id);
    void contextMenuRequested(const QPoint& globalPos);
    void playStartDragged(int32_t tick);
    void commandStateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    // IPianoRollCanvas
    void InvalidateNotes(const QRect& rect) override;
    void InvalidateAll() override;
    void InvalidateOverlay(const QRect& rect) override;
    bool ScrollLines(int dx, int dy) override;
    void ScrollToShow(int32_t tick, int row) override;
    void SetZoom(int zoomX, int zoomY) override;
    void ShowCursor(const QCursor& cursor) override;
    void GrabPointer(bool grab) override;
    void DragPlayLine(int32_t tick) override;
    void CaretMoved(const CNote& old) override;
    void SelectionChanged() override;
    void RequestCommand(int id) override;
    void RequestContextMenu(const QPoint& pos) override;

    void CreateRulerFonts();
    void UpdateScrollRanges();
    void OnHorizontalAction(int action);
    void OnVerticalAction(int action);
    void SetFirstTick(int64_t tick);
    void EnsureTickVisible(int32_t tick);
    void EnsureRowVisible(int row);
    QRect LineRect(int64_t x) const;
    QRect CaretNoteRect() const;
    void RenderCache();
    void PaintOverlay(QPainter& painter) const;
    void EmitStatus();
    const CNote* NoteAtCaret() const;
    void ShowToolTip(const QPoint& pos, const QPoint& globalPos);

    CEditController& m_edit;
    CNoteDefaults& m_defaults;
    OPTIONS& m_options;
    std::unique_ptr<CMessagePrompts> m_ownPrompts;
    std::unique_ptr<CPianoRollPreview> m_preview;
    std::unique_ptr<CPianoRollController> m_controller;
    std::unique_ptr<CNoteCommands> m_commands;
    std::unique_ptr<CStepInput> m_stepInput;

    int m_rulerHeight = 0; // follows the pane's font
    QFont m_boldFont;
    QFont m_mediumFont;
    QPixmap m_cache;   // the static picture of the client area
    QRegion m_dirty;   // parts of m_cache to paint again
    QRect m_caretRect; // where the note caret was last drawn
    int32_t m_playLine = 0;
    int m_wheelRemainder = 0;
};
