#include "ui/CDocument.h"

#include "common/AppTitle.h"
#include "dialogs/FileChooserStart.h"
#include "model/CProject.h"
#include "ui/CEditController.h"
#include "ui/CRecentFiles.h"
#include "ui/IAppServices.h"
#include "ui/IUserPrompts.h"
#include "ui/PathUtil.h"
#include "ui/WaitCursor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

constexpr const char* kAskSave =
    QT_TRANSLATE_NOOP("CDocument", "ファイルは変更されています。\n\n保存しますか？");
constexpr const char* kOpenFailed = QT_TRANSLATE_NOOP(
    "CDocument",
    "%1 のオープンに失敗しました。\n\nファイルが見つからないか、対応していないか、古い形式です。");
constexpr const char* kSaveFailed = QT_TRANSLATE_NOOP("CDocument", "%1 の保存に失敗しました。");
constexpr const char* kImportFailed =
    QT_TRANSLATE_NOOP("CDocument", "%1 のインポートに失敗しました。\n\nファイルが見つからないか、"
                                   "壊れているか、対応していない形式です。");
constexpr const char* kImportQuestion = QT_TRANSLATE_NOOP(
    "CDocument", "現在のプロジェクトにインポートしますか？\n\n[はい]"
                 "を選択すると、すべてのトラックが現在のプロジェクト"
                 "に追加されます。\n[いいえ]"
                 "を選択すると現在のプロジェクトは破棄され、すべてのトラックとテンポなどの"
                 "情報が新規プロジェクトとしてインポートされます。");
constexpr const char* kExportFailed =
    QT_TRANSLATE_NOOP("CDocument", "%1 のエクスポートに失敗しました。");
constexpr const char* kImportTitle = QT_TRANSLATE_NOOP("CDocument", "インポート");
constexpr const char* kExportTitle = QT_TRANSLATE_NOOP("CDocument", "エクスポート");
constexpr const char* kUntitled = QT_TRANSLATE_NOOP("CDocument", "無題");
constexpr const char* kRecoveredTitle = QT_TRANSLATE_NOOP("CDocument", "%1 (復元)");

const QString kProjectFilter =
    QCoreApplication::translate("CDocument", "Tesselaphon Editor プロジェクト (*.tqp)");
const QString kAllFilesFilter = QCoreApplication::translate("CDocument", "すべてのファイル (*)");
const QString kMidiFilter =
    QCoreApplication::translate("CDocument", "MIDI ファイル (*.mid *.midi *.smf)");
const QString kImportableFilter =
    QCoreApplication::translate("CDocument", "インポート可能なファイル (*.tqp *.mid *.midi *.smf)");

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Whether the WAV beside a project was written after the project was last saved, so that
// it matches the file as it stands.
bool WavIsCurrent(const QString& projectPath) {
    const QString wavPath = ReplaceExtension(projectPath, ".wav");
    QFile project(projectPath);
    QFile wav(wavPath);
    if (!project.open(QIODevice::ReadOnly) || !wav.open(QIODevice::ReadOnly))
        return false;
    const QDateTime projectTime = QFileInfo(projectPath).lastModified();
    const QDateTime wavTime = QFileInfo(wavPath).lastModified();
    return projectTime.isValid() && wavTime.isValid() && projectTime <= wavTime;
}

} // namespace

CDocument::CDocument(CEditController& edit, IUserPrompts& prompts, IAppServices& app,
                     IDocumentHooks& hooks, QObject* parent)
    : QObject(parent), m_edit(edit), m_prompts(prompts), m_app(app), m_hooks(hooks),
      m_recent(new CRecentFiles(app.Profile(), this)) {
    connect(&m_edit, &CEditController::titleChanged, this, &CDocument::titleChanged);
}

CDocument::~CDocument() = default;

void CDocument::SetPath(const QString& path) {
    m_path = path;
    emit titleChanged();
}

QString CDocument::Title() const {
    QString title = m_path.isEmpty() ? QCoreApplication::translate("CDocument", kUntitled)
                                     : QFileInfo(m_path).fileName();
    if (m_recovered)
        title = tr(kRecoveredTitle).arg(title);
    if (m_edit.Project().modified != 0)
        title += QStringLiteral(" *");
    return title + QStringLiteral(" - ") + kAppTitle;
}

bool CDocument::AskToSave() {
    if (m_edit.Project().modified == 0)
        return true;
    switch (m_prompts.Message(QCoreApplication::translate("CDocument", kAskSave), {},
                              IUserPrompts::Icon::Warning, IUserPrompts::Buttons::YesNoCancel)) {
    case IUserPrompts::Answer::Yes:
        return Save();
    case IUserPrompts::Answer::No:
        return true;
    default:
        return false;
    }
}

bool CDocument::New() {
    if (!AskToSave())
        return false;
    CProject project;
    project.Reset(m_app.DefaultProject());
    StartOver(std::move(project), {});
    return true;
}

bool CDocument::OpenWithDialog() {
    if (!AskToSave())
        return false;
    IUserPrompts::FileRequest request = ProjectFileRequest();
    request.filters = {kProjectFilter, kAllFilesFilter};
    request.defaultSuffix = "tqp";
    const QString path = m_prompts.OpenFileName(request);
    if (path.isEmpty())
        return false;
    SetProjectFolder(path);
    return OpenFile(path);
}

bool CDocument::OpenRecent(int index) {
    const QStringList& entries = m_recent->Entries();
    if (index < 0 || index >= entries.size())
        return false;
    const QString path = entries[index];
    if (!AskToSave())
        return false;
    if (OpenFile(path))
        return true;
    m_recent->Remove(static_cast<int>(m_recent->Entries().indexOf(path)));
    return false;
}

bool CDocument::OpenDropped(const QStringList& paths) {
    if (paths.isEmpty() || !AskToSave())
        return false;
    return std::any_of(paths.begin(), paths.end(),
                       [this](const QString& path) { return OpenFile(path); });
}

bool CDocument::OpenFile(const QString& path) {
    CProject loaded;
    {
        WaitCursor wait;
        if (!loaded.Load(ToFsPath(path))) {
            m_prompts.Error(
                QCoreApplication::translate("CDocument", kOpenFailed).arg(Native(path)));
            return false;
        }
    }
    StartOver(std::move(loaded), QFileInfo(path).absoluteFilePath());
    ReadUnbuiltSet();
    m_recent->Add(m_path);
    return true;
}

// The unbuilt set of an opened project: the ".tqb" beside it, or else everything unless
// the WAV file is newer than the project file.
void CDocument::ReadUnbuiltSet() {
    CProjectModified map;
    if (CProject::LoadBuildInfo(ToFsPath(ReplaceExtension(m_path, ".tqb")), map)) {
        m_edit.SetUnbuilt(std::move(map));
        return;
    }
    m_edit.ResetUnbuilt(WavIsCurrent(m_path) ? 0 : 1);
}

// The common tail of new, open and import as new.
void CDocument::StartOver(CProject project, const QString& path) {
    m_hooks.StopPlayback();
    m_hooks.DeleteTemporaryBuildFiles();
    project.modified = 0;
    project.changed.clear();
    const int count = static_cast<int>(project.tracks.size());
    project.currentTrack = count == 0 ? 0 : std::clamp(project.currentTrack, 0, count - 1);
    m_edit.ReplaceProject(std::move(project));
    m_path = path;
    m_recovered = false;
    emit documentReplaced();
    emit titleChanged();
    m_edit.Refresh(CEditController::kViewAll | CEditController::kViewResetRoll |
                   CEditController::kViewPlayLine);
}

bool CDocument::Save() {
    if (m_path.isEmpty())
        return SaveWithChooser();
    return SaveTo(m_path);
}

bool CDocument::SaveAs() {
    return SaveWithChooser();
}

// A new path has no WAV that matches the song, so every second is stale afterwards (also
// when "save" names an untitled song: a WAV left at the chosen path belongs to another).
bool CDocument::SaveWithChooser() {
    const QString path = ChooseSavePath();
    if (path.isEmpty())
        return false;
    const QString previousPath = m_path;
    CProjectModified previousUnbuilt = m_edit.Unbuilt();
    m_path = QFileInfo(path).absoluteFilePath();
    m_edit.ResetUnbuilt(1);
    if (!SaveTo(m_path)) {
        m_path = previousPath;
        m_edit.SetUnbuilt(std::move(previousUnbuilt));
        return false;
    }
    return true;
}

bool CDocument::SaveTo(const QString& path) {
    {
        WaitCursor wait;
        if (!m_edit.Project().Save(ToFsPath(path))) {
            m_prompts.Error(
                QCoreApplication::translate("CDocument", kSaveFailed).arg(Native(path)));
            return false;
        }
    }
    AfterSave();
    return true;
}

void CDocument::AfterSave() {
    if (m_app.Options().buildSaveIncremental != 0)
        SaveBuildInfo(m_edit.Unbuilt());
    m_hooks.DeleteTemporaryBuildFiles();
    m_edit.ClearUnsaved();
    m_edit.SetModifiedFlag(false);
    m_recent->Add(m_path);
    m_recovered = false;
    emit saved();
    emit titleChanged();
}

bool CDocument::SaveBuildInfo(const CProjectModified& stale) {
    const QString path = ReplaceExtension(m_path, ".tqb");
    if (CProject::SaveBuildInfo(ToFsPath(path), stale))
        return true;
    m_prompts.Error(QCoreApplication::translate("CDocument", kSaveFailed).arg(Native(path)));
    return false;
}

void CDocument::Restore(CProject song, std::vector<CProject> history) {
    StartOver(std::move(song), {});
    m_edit.RestoreUndoSteps(std::move(history));
    m_recovered = true;
    m_edit.ResetUnbuilt(1);
    m_edit.SetModifiedFlag(true);
}

QString CDocument::ChooseSavePath() {
    IUserPrompts::FileRequest request = ProjectFileRequest(m_path);
    request.filters = {kProjectFilter};
    request.defaultSuffix = "tqp";
    const QString path = m_prompts.SaveFileName(request);
    if (!path.isEmpty())
        SetProjectFolder(path);
    return path;
}

bool CDocument::Import() {
    IUserPrompts::FileRequest request = ProjectFileRequest();
    request.title = QCoreApplication::translate("CDocument", kImportTitle);
    request.filters = {kImportableFilter, kProjectFilter, kMidiFilter, kAllFilesFilter};
    request.defaultSuffix = "tqp";
    const QString path = m_prompts.OpenFileName(request);
    if (path.isEmpty())
        return false;
    const OPTIONS& options = m_app.Options();
    MIDI_IMPORT_OPTIONS midi;
    midi.rhythmAutoLength = options.importRhythmAutoLength != 0;
    midi.rhythmAutoLengthLength = std::max(options.importRhythmAutoLengthLength, 1);
    emit riskyStepStarting();
    CProject imported;
    imported.data = m_app.DefaultProject();
    {
        WaitCursor wait;
        if (!imported.Import(ToFsPath(path), midi)) {
            m_prompts.Error(
                QCoreApplication::translate("CDocument", kImportFailed).arg(Native(path)));
            return false;
        }
    }
    switch (m_prompts.Message(QCoreApplication::translate("CDocument", kImportQuestion),
                              QCoreApplication::translate("CDocument", kImportTitle),
                              IUserPrompts::Icon::Question, IUserPrompts::Buttons::YesNoCancel)) {
    case IUserPrompts::Answer::Yes:
        ImportAsTracks(imported);
        return true;
    case IUserPrompts::Answer::No:
        return ImportAsNew(std::move(imported));
    default:
        return false;
    }
}

void CDocument::ImportAsTracks(CProject& imported) {
    m_edit.Edit(CEditController::kViewAll, [&](CProject& project) {
        for (CTrack& track : imported.tracks) {
            project.tracks.push_back(std::move(track));
            m_edit.MarkTrack(project.tracks.back());
        }
        project.modified = 1;
    });
}

bool CDocument::ImportAsNew(CProject imported) {
    if (!AskToSave())
        return false;
    StartOver(std::move(imported), {});
    m_edit.ResetUnbuilt(1);
    return true;
}

bool CDocument::Export() {
    IUserPrompts::FileRequest request = ProjectFileRequest();
    request.title = QCoreApplication::translate("CDocument", kExportTitle);
    request.filters = {kMidiFilter};
    request.defaultSuffix = "mid";
    const QString path = m_prompts.SaveFileName(request);
    if (path.isEmpty())
        return false;
    WaitCursor wait;
    if (!m_edit.Project().ExportMidi(ToFsPath(path))) {
        m_prompts.Error(QCoreApplication::translate("CDocument", kExportFailed).arg(Native(path)));
        return false;
    }
    return true;
}

bool CDocument::Close() {
    if (!AskToSave())
        return false;
    m_hooks.DeleteTemporaryBuildFiles();
    return true;
}

IUserPrompts::FileRequest CDocument::ProjectFileRequest(const QString& fileName) const {
    const FILE_CHOOSER_START start =
        FileChooserStart(QString::fromStdString(m_app.Options().projectDefaultPath), fileName);
    IUserPrompts::FileRequest request;
    request.directory = start.directory;
    request.fileName = start.fileName;
    return request;
}

void CDocument::SetProjectFolder(const QString& file) {
    m_app.Options().projectDefaultPath = QFileInfo(file).absolutePath().toStdString();
}
