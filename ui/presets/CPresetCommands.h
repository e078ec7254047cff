#pragma once
// The editor's preset commands: "音色を保存…" stores a track's sound in the user's preset
// library, "音色を読み込む…" and a dropped preset file replace a track's sound with a
// preset's. Applying is one undo step through CEditController that marks the track's
// seconds unbuilt; a preset file that cannot be read is refused whole with a message naming
// the file and the key, and nothing is applied. The track dialog gets the same two actions
// on its working copy (Equip).
//
// Thread: the user-interface thread only.

#include "dialogs/CTrackDialog.h"
#include "presets/CPresetLibrary.h"

#include <QObject>

#include <functional>

class CEditController;
class IUserPrompts;
class QDialog;

class CPresetCommands : public QObject {
    Q_OBJECT
public:
    // Runs a modal dialog and returns its result code (QDialog::Accepted on OK).
    using DialogRunner = std::function<int(QDialog&)>;

    CPresetCommands(CEditController& edit, IUserPrompts& prompts, QWidget* dialogParent,
                    QObject* parent = nullptr);

    // The library the commands use; the program's own unless tests give another.
    const CPresetLibrary& Library() const { return m_library; }
    void SetLibrary(CPresetLibrary library);
    // Tests answer the save dialog through this; the default runs QDialog::exec().
    void SetDialogRunner(DialogRunner runner);

    bool HasCurrentTrack() const;
    // Asks for a category (`category` proposed when given) and a name, then saves the sound
    // of the track at `index`. False when cancelled, refused or not saved.
    bool SaveTrack(int index, const QString& category = {});
    bool SaveCurrent();
    // A preset file chosen in a file chooser, applied to the current track.
    bool LoadIntoCurrent();
    bool ApplyFile(const QString& path, int index);
    bool Apply(const CPreset& preset, int index);
    // Reads a preset file; on refusal tells the user and returns false.
    bool ReadFile(const QString& path, CPreset& preset);

    // Gives a track dialog the two actions, working on its copy.
    void Equip(CTrackDialog& dialog);

signals:
    void presetSaved(const QString& category, const QString& name);

private:
    bool SaveSound(QWidget* parent, const CTrackData& settings, const QString& category);
    bool AskPlace(QWidget* parent, const CTrackData& settings, QString& category, QString& name);
    bool ChoosePreset(CPreset& preset);

    CEditController& m_edit;
    IUserPrompts& m_prompts;
    QWidget* m_dialogParent;
    CPresetLibrary m_library;
    DialogRunner m_runDialog;
};
