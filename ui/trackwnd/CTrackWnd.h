#pragma once
// The track list beside the piano roll: one 36-pixel row per track of the open song (mute
// picture, source picture, name, volume, note colour), the selected row being the current
// track. A press selects a row; a click on the mute picture toggles the mute, with Ctrl the
// solo (a playback state, CSoloTracks, shown as a yellow "S" under the picture); dragging a
// row moves the track, with Ctrl copies it; a double click below the rows adds a track.
//
// Public interface used by the frame (keep it when the pane is redrawn):
//   Refresh()             refill the rows from the project, select the current track
//   CurrentTrack()        the project's current track index
//   count/currentRow/setCurrentRow   the rows seen as a list (setCurrentRow selects a row
//                         as a press would)
//   CommandSet            cut, copy, paste, delete (whole tracks, "TSQ_TRACK") and
//                         "プロパティ", routed here while the list has the keyboard focus
//   currentTrackChanged   the user picked another row (the project is already updated)
//   commandRequested      a gesture asks for a frame command (double click: properties or
//                         add track)
//   contextMenuRequested  the "TrackWnd" pop-up menu at a global position
//   commandStateChanged   something the command enabling depends on changed
//   TakePresetDrop        the window's drop handler offers each drop here first
//   presetDropped         a preset file (one local "*.json" URL) was dropped on a row
//   rowDraggedOut         a row dragged out of the window was let go at a global position
// Every change to the song goes through CEditController's edit path (CTrackRowCommands).
//
// Thread: the user-interface thread only.

#include "ui/commands/CCommandSet.h"
#include "ui/trackwnd/CTrackRowCommands.h"
#include "ui/trackwnd/CTrackRowDrag.h"

#include <QAbstractScrollArea>

class CEditController;
class CSoloTracks;
class CTrack;
class QMimeData;

class CTrackWnd : public QAbstractScrollArea {
    Q_OBJECT
public:
    using DialogRunner = CTrackRowCommands::DialogRunner;
    // A left release this close to the left edge, without a drag, toggles the mute.
    static constexpr int kMuteClickWidth = 20;

    explicit CTrackWnd(CEditController& edit, QWidget* parent = nullptr);
    ~CTrackWnd() override;

    void Refresh();
    int CurrentTrack() const;
    int count() const;
    int currentRow() const;
    void setCurrentRow(int row);
    // A row's rectangle in viewport coordinates.
    QRect RowRect(int row) const;
    // A row in words, for screen readers (CTrackRowPainter::Reading); empty past the end.
    QString RowReading(int row) const;

    CCommandSet& CommandSet() { return m_commandSet; }

    // Tests answer the properties dialog through this; the default runs QDialog::exec().
    void SetDialogRunner(DialogRunner runner);
    void SetDialogSetup(CTrackRowCommands::DialogSetup setup);
    // Ctrl and a click on the mute picture toggle these; without them it mutes.
    void SetSoloTracks(CSoloTracks* solo);
    // A drop at a global position that carries one preset file over a row is taken:
    // presetDropped tells which, and true is returned. Anything else is left to the caller.
    bool TakePresetDrop(const QMimeData* mime, const QPoint& globalPos);

signals:
    void currentTrackChanged(int index);
    void commandRequested(int id);
    void contextMenuRequested(const QPoint& globalPos);
    void commandStateChanged();
    void presetDropped(const QString& path, int row);
    void rowDraggedOut(int row, const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int RowAt(const QPoint& pos) const;
    void SelectRow(int row);
    void EnsureVisible(int row);
    void UpdateScrollRange();
    void UpdateDrag(const QPoint& pos);
    void SetCopyDrag(bool copy);
    void FinishDrag(const QPoint& pos);
    void CancelDrag();
    void PaintMarker(QPainter& painter) const;
    void RegisterCommands();

    CEditController& m_edit;
    CTrackRowCommands m_commands;
    CTrackRowDrag m_drag;
    DialogRunner m_runDialog;
    CCommandSet m_commandSet;
    CSoloTracks* m_solo = nullptr;
};
