#include "ui/CBuildController.h"

#include "audio/CAudioFile.h"
#include "audio/CTempFolder.h"
#include "engine/CBuild.h"
#include "model/CProject.h"
#include "ui/CBuildProgressDialog.h"
#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/IAppServices.h"
#include "ui/IDesktopLauncher.h"
#include "ui/IUserPrompts.h"
#include "ui/PathUtil.h"
#include "ui/WaitCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

constexpr const char* kBuildTitle = "ビルド";
constexpr const char* kNeedName =
    "ビルドを実行するためには、プロジェクトファイルの名前と保存先が必要です。\n\n名前と保存先を"
    "選択してビルドしますか？\n\n（オプションで「ビルド時にプロジェクトを保存する」をチェックして"
    "いない限り、保存はされません）";
constexpr const char* kNoEncoder = "エンコーダが見つかりません。";
constexpr const char* kEncodeTitle = "エンコード";
constexpr const char* kNoDefaultPlayer = "既定のプレイヤーを開くことができませんでした。";
constexpr const char* kNoSonalo = "TSQ Sonalo を開くことができませんでした。";
constexpr const char* kSonaloProgram = "Sonalo";

// Marks the scope of a build, also when it ends early.
class BuildingScope {
public:
    BuildingScope(bool& flag, CBuildController& owner) : m_flag(flag), m_owner(owner) {
        m_flag = true;
        emit m_owner.buildingChanged(true);
    }
    ~BuildingScope() {
        m_flag = false;
        emit m_owner.buildingChanged(false);
    }
    BuildingScope(const BuildingScope&) = delete;
    BuildingScope& operator=(const BuildingScope&) = delete;

private:
    bool& m_flag;
    CBuildController& m_owner;
};

} // namespace

CBuildController::CBuildController(CEditController& edit, CDocument& document,
                                   CPlaybackController& playback, IUserPrompts& prompts,
                                   IDesktopLauncher& launcher, IAppServices& app, QWidget* window,
                                   QObject* parent)
    : QObject(parent), m_edit(edit), m_document(document), m_playback(playback), m_prompts(prompts),
      m_launcher(launcher), m_app(app), m_window(window) {
}

CBuildController::~CBuildController() {
    DeleteTemporaryBuildFiles();
}

bool CBuildController::Build(bool rebuild) {
    if (m_building)
        return false;
    const QString projectPath = ChooseBuildPath();
    if (projectPath.isEmpty())
        return false;
    m_playback.Stop();
    const OPTIONS& options = m_app.Options();
    if (options.buildSaveProject != 0 && m_edit.Project().modified != 0 &&
        !m_document.Path().isEmpty())
        m_document.Save();
    const bool built = RunBuild(projectPath, rebuild);
    if (options.buildSaveIncremental != 0 && !m_document.Path().isEmpty())
        CProject::SaveBuildInfo(ToFsPath(ReplaceExtension(m_document.Path(), ".tqb")),
                                m_edit.Unsaved());
    if (built && options.buildEncode != 0)
        return EncodeBuilt();
    return built;
}

// The project path of the build: the document's, or a name in the temporary folder for an
// untitled song, or (when no temporary folder can be made) one the user chooses.
QString CBuildController::ChooseBuildPath() {
    if (!m_document.Path().isEmpty())
        return m_document.Path();
    if (m_tempFolder == nullptr) {
        m_tempFolder = std::make_unique<CTempFolder>();
        if (!m_tempFolder->Create(kTempFolderName))
            m_tempFolder.reset();
    }
    if (m_tempFolder != nullptr) {
        if (m_tempProjectPath.isEmpty()) {
            const QString name = m_tempFolder->GetTempFileName("tsq");
            if (!name.isEmpty())
                m_tempProjectPath = name + ".tqp";
        }
        if (!m_tempProjectPath.isEmpty())
            return m_tempProjectPath;
    }
    if (m_prompts.Message(kNeedName, kBuildTitle, IUserPrompts::Icon::Warning,
                          IUserPrompts::Buttons::YesNo) != IUserPrompts::Answer::Yes)
        return {};
    const QString path = m_document.ChooseSavePath();
    if (!path.isEmpty())
        m_document.SetPath(QFileInfo(path).absoluteFilePath());
    return m_document.Path();
}

bool CBuildController::RunBuild(const QString& projectPath, bool rebuild) {
    BuildingScope scope(m_building, *this);
    WaitCursor wait;
    CProject& project = m_edit.PrepareBuild(rebuild);
    CProjectModified& unbuilt = m_edit.Unbuilt();
    CBuildProgressDialog progress(m_window, m_prompts);
    CAudioFile loader;
    CBuild build(progress, loader, m_app.Options().buildThreads);
    const BuildOutcome outcome =
        build.Build(ToFsPath(ReplaceExtension(projectPath, ".wav")), project, unbuilt, rebuild);
    if (outcome.status == BuildStatus::Complete) {
        // The file now ends with the song: flags past its end describe no audio any more.
        const size_t seconds = static_cast<size_t>(std::ceil(project.lastBuildLength));
        if (unbuilt.size() > seconds)
            unbuilt.resize(seconds);
    }
    return static_cast<bool>(outcome);
}

bool CBuildController::Encode() {
    if (NeedsBuild()) {
        if (m_building)
            return false;
        const QString projectPath = ChooseBuildPath();
        if (projectPath.isEmpty())
            return false;
        m_playback.Stop();
        if (!RunBuild(projectPath, false))
            return false;
    }
    return EncodeBuilt();
}

bool CBuildController::EncodeBuilt() {
    if (m_document.Path().isEmpty())
        return false;
    const QString wavPath = ReplaceExtension(m_document.Path(), ".wav");
    if (!QFileInfo::exists(wavPath))
        return false;
    std::unique_ptr<IEncoder> encoder = m_encoderFactory ? m_encoderFactory() : nullptr;
    if (encoder == nullptr) {
        m_prompts.Error(kNoEncoder, kEncodeTitle);
        return false;
    }
    return encoder->Encode(wavPath, m_edit.Project().data, m_window);
}

bool CBuildController::NeedsBuild() const {
    return m_edit.Unbuilt().AnySet();
}

bool CBuildController::BuildBeforeUse() {
    return !NeedsBuild() || Build(false);
}

bool CBuildController::PrepareWav(QString& wavPath) {
    if (!BuildBeforeUse())
        return false;
    wavPath = WavPath();
    return !wavPath.isEmpty();
}

void CBuildController::PlayWithDefaultPlayer() {
    if (!BuildBeforeUse())
        return;
    const QString wavPath = WavPath();
    if (wavPath.isEmpty() || !m_launcher.OpenWithDefaultProgram(wavPath))
        m_prompts.Error(kNoDefaultPlayer);
}

void CBuildController::PlayWithSonalo() {
    if (!BuildBeforeUse())
        return;
    const QString program = QDir(m_app.ApplicationDirectory()).filePath(kSonaloProgram);
    const QString wavPath = WavPath();
    if (wavPath.isEmpty() || !m_launcher.StartDetached(program, wavPath))
        m_prompts.Error(kNoSonalo);
}

void CBuildController::OpenProjectFolder() {
    const QString path = BuildProjectPath();
    if (path.isEmpty())
        return;
    if (QFileInfo::exists(path))
        m_launcher.ShowInFileManager(path, true);
    else
        m_launcher.ShowInFileManager(QFileInfo(path).absolutePath(), false);
}

bool CBuildController::CanOpenProjectFolder() const {
    return !BuildProjectPath().isEmpty();
}

void CBuildController::DeleteTemporaryBuildFiles() {
    if (!m_tempProjectPath.isEmpty()) {
        QFile::remove(ReplaceExtension(m_tempProjectPath, ".wav"));
        m_tempProjectPath.clear();
    }
    if (m_tempFolder != nullptr) {
        QDir().rmdir(m_tempFolder->GetPath());
        m_tempFolder.reset();
    }
}

QString CBuildController::BuildProjectPath() const {
    return m_document.Path().isEmpty() ? m_tempProjectPath : m_document.Path();
}

QString CBuildController::WavPath() const {
    const QString path = BuildProjectPath();
    return path.isEmpty() ? QString() : ReplaceExtension(path, ".wav");
}
