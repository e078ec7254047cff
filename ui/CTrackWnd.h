#pragma once
// The track list beside the piano roll: one row per track of the open song, the selected
// row being the current track.
//
// Public interface used by the frame (keep it when the pane is redrawn):
//   Refresh()             refill the rows from the project, select the current track
//   CurrentTrack()        the project's current track index
//   ICommandTarget        cut, copy, paste, delete (whole tracks, "TSQ_TRACK") and
//                         "プロパティ" while the list has the keyboard focus
//   currentTrackChanged   the user picked another row (the project is already updated)
//   commandRequested      a gesture asks for a frame command (double click: properties or
//                         add track)
//   contextMenuRequested  the "TrackWnd" pop-up menu at a global position
//   commandStateChanged   something the command enabling depends on changed
// Every change to the song goes through CEditController's edit path.
//
// Thread: the user-interface thread only.

#include "ui/ICommandTarget.h"

#include <QListWidget>

class CEditController;
class CTrack;

class CTrackWnd : public QListWidget, public ICommandTarget {
    Q_OBJECT
public:
    explicit CTrackWnd(CEditController& edit, QWidget* parent = nullptr);
    ~CTrackWnd() override;

    void Refresh();
    int CurrentTrack() const;

    std::optional<bool> CommandEnabled(int id) const override;
    bool RunCommand(int id) override;

signals:
    void currentTrackChanged(int index);
    void commandRequested(int id);
    void contextMenuRequested(const QPoint& globalPos);
    void commandStateChanged();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnRowChanged(int row);
    void Copy() const;
    void Paste();
    void Delete();
    void EditProperties();
    int TrackCount() const;

    CEditController& m_edit;
    bool m_filling = false;
};
