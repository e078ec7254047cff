#include "ui/presets/CPresetCommands.h"

#include "dialogs/CPresetSaveDialog.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/IUserPrompts.h"

#include <QDialog>
#include <QDir>
#include <QStringList>

#include <utility>

namespace {

constexpr int kLists = CEditController::kViewTrackList | CEditController::kViewPianoRoll;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Folder(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

CPresetCommands::CPresetCommands(CEditController& edit, IUserPrompts& prompts,
                                 QWidget* dialogParent, QObject* parent)
    : QObject(parent), m_edit(edit), m_prompts(prompts), m_dialogParent(dialogParent),
      m_library(CPresetLibrary::OfThisProgram()),
      m_runDialog([](QDialog& dialog) { return dialog.exec(); }) {
}

void CPresetCommands::SetLibrary(CPresetLibrary library) {
    m_library = std::move(library);
}

void CPresetCommands::SetDialogRunner(DialogRunner runner) {
    m_runDialog = std::move(runner);
}

bool CPresetCommands::HasCurrentTrack() const {
    return m_edit.Project().CurrentTrack() != nullptr;
}

bool CPresetCommands::SaveCurrent() {
    return HasCurrentTrack() && SaveTrack(m_edit.Project().currentTrack);
}

bool CPresetCommands::SaveTrack(int index, const QString& category) {
    const CProject& project = m_edit.Project();
    if (index < 0 || index >= static_cast<int>(project.tracks.size()))
        return false;
    return SaveSound(m_dialogParent, project.tracks[static_cast<size_t>(index)].settings, category);
}

bool CPresetCommands::AskPlace(QWidget* parent, const CTrackData& settings, QString& category,
                               QString& name) {
    CPresetSaveDialog dialog(parent);
    QStringList categories;
    for (const std::string& known : m_library.Categories())
        categories.append(Text(known));
    dialog.SetCategories(categories);
    if (!category.isEmpty())
        dialog.SetCategory(category);
    dialog.SetName(Text(settings.name));
    if (m_runDialog(dialog) != QDialog::Accepted)
        return false;
    category = dialog.Category();
    name = dialog.Name();
    return true;
}

// A preset of the same name is replaced only when the user says so; answering no saves
// nothing, so that nothing the user did not see is lost.
bool CPresetCommands::SaveSound(QWidget* parent, const CTrackData& settings,
                                const QString& proposed) {
    QString category = proposed;
    QString name;
    if (!AskPlace(parent, settings, category, name))
        return false;
    auto overwrite = CPresetLibrary::Overwrite::No;
    if (m_library.Exists(category.toStdString(), name.toStdString())) {
        const QString question =
            tr("分類「%1」には「%2」という音色がすでにあります。\n置き換えますか？")
                .arg(category, name);
        if (m_prompts.Message(question, {}, IUserPrompts::Icon::Question,
                              IUserPrompts::Buttons::YesNo) != IUserPrompts::Answer::Yes)
            return false;
        overwrite = CPresetLibrary::Overwrite::Yes;
    }
    const Result saved =
        m_library.Save(category.toStdString(), name.toStdString(), settings, overwrite);
    if (!saved) {
        m_prompts.Error(tr("音色を保存できませんでした。\n%1").arg(Text(saved.message)));
        return false;
    }
    emit presetSaved(category, name);
    return true;
}

bool CPresetCommands::ReadFile(const QString& path, CPreset& preset) {
    const Result read = CPreset::Read(path.toStdString(), preset);
    if (!read)
        m_prompts.Error(tr("音色を読み込めませんでした。\n%1").arg(Text(read.message)));
    return bool(read);
}

bool CPresetCommands::ChoosePreset(CPreset& preset) {
    IUserPrompts::FileRequest request;
    request.title = tr("音色を読み込む");
    request.filters = {tr("音色ファイル (*.json)"), tr("すべてのファイル (*)")};
    const bool hasUserFolder =
        !m_library.UserFolder().empty() && QDir(Folder(m_library.UserFolder())).exists();
    request.directory = Folder(hasUserFolder ? m_library.UserFolder() : m_library.FactoryFolder());
    const QString path = m_prompts.OpenFileName(request);
    return !path.isEmpty() && ReadFile(path, preset);
}

bool CPresetCommands::LoadIntoCurrent() {
    if (!HasCurrentTrack())
        return false;
    CPreset preset;
    return ChoosePreset(preset) && Apply(preset, m_edit.Project().currentTrack);
}

bool CPresetCommands::ApplyFile(const QString& path, int index) {
    CPreset preset;
    return ReadFile(path, preset) && Apply(preset, index);
}

// The track's seconds are stale whether it sounded before or sounds now; a muted track
// stays muted, as the preset keeps the mute state.
bool CPresetCommands::Apply(const CPreset& preset, int index) {
    if (index < 0 || index >= static_cast<int>(m_edit.Project().tracks.size()))
        return false;
    return m_edit.Edit(kLists, [&](CProject& project) {
        CTrack& track = project.tracks[static_cast<size_t>(index)];
        track.settings = preset.AppliedTo(track.settings);
        m_edit.MarkTrack(track);
    });
}

void CPresetCommands::Equip(CTrackDialog& dialog) {
    dialog.SetPresetActions(
        {.load =
             [this](QWidget*, CTrackData& track) {
                 CPreset preset;
                 if (!ChoosePreset(preset))
                     return false;
                 track = preset.AppliedTo(track);
                 return true;
             },
         .save = [this](QWidget* parent,
                        const CTrackData& track) { SaveSound(parent, track, {}); }});
}
