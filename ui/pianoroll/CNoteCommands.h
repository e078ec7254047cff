#pragma once
// The note commands of the piano roll: clipboard ("TSQ_NOTE"), delete, find, jump, the
// selection commands, inserting and deleting measures, note properties, entering a note by
// dialog, taking a note as the default note, adjusting positions, lengths and volumes, and
// splitting into tuplets. Each command that changes the song takes CEditController's edit
// path as one undo step and marks the old and the new place of every note it touches;
// commands that only change the selection or the caret tell the view instead.
//
// The piano roll owns one; the frame routes the commands of its CommandSet() here. The set
// also describes the clipboard, delete and properties commands the track window carries
// out while it has the focus.
//
// Thread: the user-interface thread only.

#include "model/FindData.h"
#include "ui/commands/CCommandSet.h"

#include <QObject>

#include <cstdint>
#include <functional>

class CAdjustDialog;
class CEditController;
class CNote;
class CNoteDefaults;
class CTrack;
class IPianoRollView;
class IUserPrompts;
class QDialog;
class QSettings;
class QWidget;
struct OPTIONS;

class CNoteCommands : public QObject {
    Q_OBJECT
public:
    // Runs a modal dialog and returns its result code (QDialog::Accepted on OK).
    using DialogRunner = std::function<int(QDialog&)>;

    // `options` are the editing settings; none of the commands below depends on them.
    CNoteCommands(CEditController& edit, CNoteDefaults& defaults, IUserPrompts& prompts,
                  const OPTIONS& options, IPianoRollView& view, QWidget* dialogParent);

    CCommandSet& CommandSet() { return m_commandSet; }

    // Where the find criteria are kept between runs (group "FindData"); must outlive this
    // object. Without a store they are kept for the session only.
    void SetFindStore(QSettings* settings) { m_findStore = settings; }
    // Tests answer the dialogs through this; the default runs QDialog::exec().
    void SetDialogRunner(DialogRunner runner);

private:
    void RegisterClipboardCommands();
    void RegisterSelectionCommands();
    void RegisterNoteCommands();
    void RegisterAdjustCommands();
    const CTrack* Track() const;
    // The current track of the change in progress (CEditController::Changing).
    CTrack& ChangingTrack();
    size_t SelectionCount() const;
    int Exec(QDialog& dialog);

    void Copy();
    void Paste();
    void Delete();
    void Find();
    void Jump();
    void SelectAll();
    void SelectAfter();
    void InvertSelection();
    void ClearSelection();
    void InsertMeasures();
    void DeleteMeasures();
    void EditProperties();
    void EnterNote();
    void SetAsDefault();
    void AdjustPosition();
    void AdjustLength();
    void AdjustVolume();
    void Split(int parts);
    void SplitFree();

    // The measure dialog with its caption; false on Cancel.
    bool AskMeasures(const QString& caption, int32_t& measure, int32_t& count);
    // An adjustment dialog preset with the last mode and amount of its kind; false on
    // Cancel. `refuse` may reject the answer, which then shows the dialog again.
    bool AskAdjustment(CAdjustDialog& dialog, int32_t& mode, int32_t& amount,
                       const std::function<bool(int32_t mode, int32_t amount)>& refuse = {});
    // One undo step that replaces every selected note by change(copy of the note), marks
    // the old and the new place and keeps each note's place in the selection.
    void ReplaceSelected(const std::function<void(CNote&)>& change);
    bool AnyMovesBeforeZero(int32_t increment) const;
    CNote Caret() const;

    CEditController& m_edit;
    CNoteDefaults& m_defaults;
    IUserPrompts& m_prompts;
    IPianoRollView& m_view;
    QWidget* m_dialogParent;
    QSettings* m_findStore = nullptr;
    DialogRunner m_runDialog;
    FIND_DATA m_findData;
    // Each adjustment dialog opens with the mode and amount it was last closed with.
    int32_t m_positionMode = 0;
    int32_t m_positionAmount = 0;
    int32_t m_lengthMode = 0;
    int32_t m_lengthAmount = 0;
    int32_t m_volumeAmount = 0;
    CCommandSet m_commandSet;
};
