#pragma once
// The piano roll: the notes of the current track on a grid of time against pitch, with
// the caret (the default note's position and row) and the play line.
//
// Public interface used by the frame (keep it when the pane is redrawn):
//   Refresh(reset)          redraw from the project; reset scrolls back to the start
//   CaretPosition/CaretRow  the caret, read by the commands that act at the caret
//   SetPlayLine(tick, scroll)  the play line; scroll brings it into view
//   VerticalScroll/SetVerticalScroll  the key row at the top ("PianoRollWndVScroll")
//   ICommandTarget          the note commands routed to the pane and their enabling
//   statusChanged           texts of the status bar's message, key and position panes
//   commandRequested        a gesture asks for a frame command (double click: properties)
//   contextMenuRequested    the "PianoRollWnd" pop-up menu at a global position
//   playStartDragged        the user dragged the play line to a tick
//   commandStateChanged     something the command enabling depends on changed
// The fit unit and the default note's length, key-off and volume come from CNoteDefaults;
// every change to the song goes through CEditController's edit path.
//
// Thread: the user-interface thread only.

#include "ui/ICommandTarget.h"

#include <QAbstractScrollArea>

#include <cstdint>

class CEditController;
class CNote;
class CNoteDefaults;
class CTrack;
struct OPTIONS;

class CPianoRollWnd : public QAbstractScrollArea, public ICommandTarget {
    Q_OBJECT
public:
    static constexpr int kKeyColumn = 64;
    static constexpr int kRows = 96;

    CPianoRollWnd(CEditController& edit, CNoteDefaults& defaults, const OPTIONS& options,
                  QWidget* parent = nullptr);

    void Refresh(bool reset);
    int32_t CaretPosition() const { return m_caretPosition; }
    int CaretRow() const { return m_caretRow; }
    void SetCaret(int32_t position, int row);
    void SetPlayLine(int32_t tick, bool scroll);
    int32_t PlayLine() const { return m_playLine; }
    int VerticalScroll() const;
    void SetVerticalScroll(int row);

    std::optional<bool> CommandEnabled(int id) const override;
    bool RunCommand(int id) override;

signals:
    void statusChanged(const QString& message, const QString& key, const QString& position);
    void commandRequested(int id);
    void contextMenuRequested(const QPoint& globalPos);
    void playStartDragged(int32_t tick);
    void commandStateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    CTrack* Track();
    const CTrack* Track() const;
    int ZoomX() const;
    int ZoomY() const;
    int RulerHeight() const;
    int64_t XOfTick(int64_t tick) const;
    int32_t TickOfX(int x) const;
    int RowOfY(int y) const;
    int32_t Snap(int32_t tick) const;
    CNote* NoteAt(const QPoint& pos);
    size_t SelectionCount() const;
    void UpdateScrollRanges();
    void EmitStatus();
    void PaintGrid(QPainter& painter) const;
    void PaintNotes(QPainter& painter) const;
    void PaintRulerAndKeys(QPainter& painter) const;
    void Copy();
    void Paste();
    void DeleteSelection();
    void Select(int id);

    CEditController& m_edit;
    CNoteDefaults& m_defaults;
    const OPTIONS& m_options;
    int32_t m_caretPosition = 0;
    int m_caretRow = 0;
    int32_t m_playLine = 0;
};
