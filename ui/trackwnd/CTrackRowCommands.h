#pragma once
// The edits the track window makes to whole tracks: mute by the row's picture, moving and
// copying by drag and drop, the clipboard ("TSQ_TRACK": a track as it is stored in a
// project file of the current version), delete and the properties dialog. Each change is
// one undo step through CEditController, marking the seconds whose sound it changes; a copy
// or paste beyond the song's limits is refused there.
//
// Thread: the user-interface thread only.

#include <functional>
#include <utility>

class CEditController;
class CTrackData;
class CTrackDialog;
class QDialog;
class QWidget;

class CTrackRowCommands {
public:
    // Runs a modal dialog and returns its result code (QDialog::Accepted on OK).
    using DialogRunner = std::function<int(QDialog&)>;
    // Prepares the properties dialog before it shows (the preset buttons).
    using DialogSetup = std::function<void(CTrackDialog&)>;

    explicit CTrackRowCommands(CEditController& edit);

    void SetDialogSetup(DialogSetup setup) { m_setupDialog = std::move(setup); }

    // Muting silences the track's notes and unmuting brings them back: both mark them.
    void ToggleMute(int row);
    // Moves the track at `from` before the track at `dropRow` (the row count appends). A
    // drop onto its own row or the next one does nothing and records nothing.
    void MoveTrack(int from, int dropRow);
    // Inserts a copy of the track at `from` at `dropRow`; the copy becomes the current track.
    void CopyTrack(int from, int dropRow);

    static bool ClipboardHasTrack();
    void CopyToClipboard() const;
    // Inserts the clipboard's track at the current index. False, with nothing changed,
    // when the clipboard holds no track or a damaged one, or when the song may hold no
    // more (the edit path refuses it and says so). Sound values outside their ranges are
    // brought inside, as a project file's are.
    bool PasteFromClipboard();
    // Removes the current track; the index stays, or moves to the new last track.
    void DeleteCurrent();
    // The track properties dialog on a copy of the current track; false on Cancel.
    bool EditProperties(QWidget* parent, const DialogRunner& run);

    int TrackCount() const;
    bool HasCurrentTrack() const;

private:
    bool AskTrackProperties(CTrackData& settings, QWidget* parent, const DialogRunner& run) const;

    CEditController& m_edit;
    DialogSetup m_setupDialog;
};
