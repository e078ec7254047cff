#pragma once
// "音色ブラウザ": a dockable panel that lists the presets of the factory library and the
// user's folder by category, each with the picture of its source kind as the track list
// draws it. The search box keeps the presets whose name holds the text (Latin letters in
// either case). Pressing a key of the on-screen keyboard auditions the chosen preset
// through a preview engine of the keyboard's own, on a private copy of the sound and of
// the song's settings, so the song is never touched; double-clicking a preset or "適用"
// applies it to the current track through CPresetCommands, as one undo step.
//
// The list is read again when the panel shows and after a preset is saved; nothing of the
// library is kept between readings, so presets added outside the program show then.
//
// Thread: the user-interface thread only.

#include "model/CProject.h"
#include "presets/CPreset.h"

#include <QDockWidget>

#include <functional>
#include <optional>

class CEditController;
class CKeyboardWnd;
class CPresetCommands;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class CPresetBrowser : public QDockWidget {
    Q_OBJECT
public:
    // `bufferMs` gives the "PlayBufferSize" setting when a key is to sound.
    CPresetBrowser(CPresetCommands& commands, const CEditController& edit,
                   std::function<int()> bufferMs, QWidget* parent = nullptr);
    ~CPresetBrowser() override;

    // Reads the library again, keeping the search text and, where it is still there, the
    // chosen preset.
    void Reload();
    // Chooses a preset by category and name; false when the list does not show it.
    bool Choose(const QString& category, const QString& name);
    // The chosen preset's "category/name", empty when none.
    QString ChosenKey() const;
    // Applies the chosen preset to the current track; false when nothing was applied.
    bool ApplyChosen();
    // The category of the row under a global position (a category or one of its presets),
    // empty when there is none.
    QString CategoryAt(const QPoint& globalPos) const;

    QLineEdit& SearchBox() { return *m_search; }
    QTreeWidget& Tree() { return *m_tree; }
    CKeyboardWnd& Keyboard() { return *m_keyboard; }
    QPushButton& ApplyButton() { return *m_apply; }
    // The sound the keyboard plays: the chosen preset's, with its sample loaded.
    const CTrack& PreviewTrack() const { return m_previewTrack; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* MakeContents();
    QTreeWidgetItem* CategoryItem(const QString& category);
    void Filter();
    void OnChosen();
    void PreparePreview();
    void StabilizeForm();

    CPresetCommands& m_commands;
    const CEditController& m_edit;
    std::function<int()> m_bufferMs;
    QLineEdit* m_search = nullptr;
    QTreeWidget* m_tree = nullptr;
    CKeyboardWnd* m_keyboard = nullptr;
    QPushButton* m_apply = nullptr;
    std::optional<CPreset> m_chosen;
    CProject m_previewProject;
    CTrack m_previewTrack;
};
