#include "ui/CBuildController.h"

#include "audio/CAudioFile.h"
#include "audio/CTempFolder.h"
#include "model/CProject.h"
#include "ui/BuildTexts.h"
#include "ui/CBuildProgressDialog.h"
#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/CSoloBuild.h"
#include "ui/IAppServices.h"
#include "ui/IDesktopLauncher.h"
#include "ui/IUserPrompts.h"
#include "ui/PathUtil.h"
#include "ui/WaitCursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <utility>

namespace {

constexpr const char* kNeedName = QT_TRANSLATE_NOOP(
    "CBuildController",
    "ビルドを実行するためには、プロジェクトファイルの名前と保存先が必要です。\n\n名前と保存先を"
    "選択してビルドしますか？\n\n（オプションで「ビルド時にプロジェクトを保存する」をチェックして"
    "いない限り、保存はされません）");
constexpr const char* kNoEncoder =
    QT_TRANSLATE_NOOP("CBuildController", "エンコーダが見つかりません。");
constexpr const char* kEncodeTitle = QT_TRANSLATE_NOOP("CBuildController", "エンコード");
constexpr const char* kNoDefaultPlayer =
    QT_TRANSLATE_NOOP("CBuildController", "既定のプレイヤーを開くことができませんでした。");
constexpr const char* kNoSonalo =
    QT_TRANSLATE_NOOP("CBuildController", "TSQ Sonalo を開くことができませんでした。");
constexpr const char* kSonaloProgram = "Sonalo";

} // namespace

CBuildController::CBuildController(CEditController& edit, CDocument& document,
                                   CPlaybackController& playback, IUserPrompts& prompts,
                                   IDesktopLauncher& launcher, IAppServices& app, QWidget* window,
                                   QObject* parent)
    : QObject(parent), m_edit(edit), m_document(document), m_playback(playback), m_prompts(prompts),
      m_launcher(launcher), m_app(app), m_window(window),
      m_loaderFactory([] { return std::make_unique<CAudioFile>(); }) {
}

// The window stops a build before it goes (AbortAndWait); one still running here has
// nothing left to report to, so it is only stopped.
CBuildController::~CBuildController() {
    if (m_job != nullptr)
        m_job->Stop();
    delete m_job;
    if (m_liveJob != nullptr)
        m_liveJob->Stop();
    delete m_liveJob;
    m_afterBuild = {};
    DeleteTemporaryBuildFiles();
}

void CBuildController::SetSampleLoaderFactory(CBuildJob::LoaderFactory factory) {
    m_loaderFactory = std::move(factory);
}

void CBuildController::Build(bool rebuild, Continuation then) {
    const QString projectPath = IsBuilding() ? QString() : ChooseBuildPath();
    if (projectPath.isEmpty()) {
        EndCommand(false, then);
        return;
    }
    LIVE_BUILD follow = m_playback.BeforeBuild(ReplaceExtension(projectPath, ".wav"), rebuild);
    const OPTIONS& options = m_app.Options();
    if (options.buildSaveProject != 0 && m_edit.Project().modified != 0 &&
        !m_document.Path().isEmpty())
        m_document.Save();
    StartBuild(
        projectPath, rebuild,
        [this, then = std::move(then)](bool built) {
            WriteBuildInfo();
            EndCommand(built && m_app.Options().buildEncode != 0 ? EncodeBuilt() : built, then);
        },
        std::move(follow));
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
    if (m_prompts.Message(QCoreApplication::translate("CBuildController", kNeedName),
                          BuildText(BuildTexts::kTitle), IUserPrompts::Icon::Warning,
                          IUserPrompts::Buttons::YesNo) != IUserPrompts::Answer::Yes)
        return {};
    const QString path = m_document.ChooseSavePath();
    if (!path.isEmpty())
        m_document.SetPath(QFileInfo(path).absoluteFilePath());
    return m_document.Path();
}

// Hands the job a copy of the song as it is now and the stale flags; `then` runs when the
// job has ended and its flags are merged back.
void CBuildController::StartBuild(const QString& projectPath, bool rebuild, Continuation then,
                                  LIVE_BUILD follow) {
    StopLive();
    const CProject& project = m_edit.PrepareBuild(rebuild);
    CBuildJob::REQUEST request = MakeRequest(ReplaceExtension(projectPath, ".wav"), follow);
    request.flags = std::exchange(m_edit.Unbuilt(), {});
    request.rebuild = rebuild;
    m_job = new CBuildJob(project, std::move(request), this);
    m_afterBuild = std::move(then);
    m_followDone = std::move(follow.done);
    m_waitCursor = std::make_unique<WaitCursor>();
    ConnectJob();
    emit buildingChanged(true);
    if (!m_job->Start())
        OnJobFinished();
}

void CBuildController::ConnectJob() {
    connect(m_job, &CBuildJob::progress, this, &CBuildController::OnProgress);
    connect(m_job, &CBuildJob::sampleFailed, this, &CBuildController::OnSampleFailed);
    connect(m_job, &CBuildJob::outputFailed, this, &CBuildController::OnOutputFailed);
    connect(m_job, &CBuildJob::finished, this, &CBuildController::OnJobFinished);
}

// The window appears with the first progress, so a build with nothing to render shows
// nothing.
void CBuildController::OnProgress(const BuildProgress& progress) {
    if (m_progress == nullptr) {
        m_progress = new CBuildProgressDialog(m_window);
        connect(m_progress, &CBuildProgressDialog::abortRequested, m_job, &CBuildJob::Cancel);
        m_progress->Begin();
    }
    m_progress->ShowProgress(progress);
}

void CBuildController::OnSampleFailed(const QString& samplePath) {
    const QPointer<CBuildJob> job = m_job;
    const IUserPrompts::Answer answer = m_prompts.Message(
        BuildText(BuildTexts::kSampleFailure).arg(samplePath), BuildText(BuildTexts::kTitle),
        IUserPrompts::Icon::Warning, IUserPrompts::Buttons::AbortRetryIgnore);
    if (job == nullptr)
        return;
    switch (answer) {
    case IUserPrompts::Answer::Retry:
        job->AnswerSample(CBuildJob::SampleAnswer::Retry);
        break;
    case IUserPrompts::Answer::Ignore:
        job->AnswerSample(CBuildJob::SampleAnswer::Ignore);
        break;
    default:
        job->AnswerSample(CBuildJob::SampleAnswer::Abort);
        break;
    }
}

void CBuildController::OnOutputFailed() {
    const QPointer<CBuildJob> job = m_job;
    m_prompts.Message(BuildText(BuildTexts::kOutputFailure), BuildText(BuildTexts::kTitle),
                      IUserPrompts::Icon::Warning, IUserPrompts::Buttons::Ok);
    if (job != nullptr)
        job->AcknowledgeOutputError();
}

void CBuildController::AbortAndWait() {
    StopLive();
    if (m_job == nullptr)
        return;
    m_followDone = {};
    m_job->Stop();
    OnJobFinished();
}

// Runs on the job's finished() (so the job goes later, not inside its own signal) or after
// Stop().
void CBuildController::OnJobFinished() {
    CBuildJob* job = std::exchange(m_job, nullptr);
    const bool built = static_cast<bool>(job->Outcome());
    MergeFlags(*job);
    job->deleteLater();
    if (m_progress != nullptr) {
        m_progress->End();
        m_progress->deleteLater();
        m_progress = nullptr;
    }
    m_waitCursor.reset();
    emit buildingChanged(false);
    if (const auto followed = std::exchange(m_followDone, {}))
        followed(built);
    if (const Continuation then = std::exchange(m_afterBuild, {}))
        then(built);
}

void CBuildController::MergeFlags(CBuildJob& job) {
    CProjectModified flags = std::move(job.Flags());
    if (job.Outcome().status == BuildStatus::Complete) {
        // The file now ends with the song: flags past its end describe no audio any more.
        const size_t seconds = static_cast<size_t>(std::ceil(job.Song().lastBuildLength));
        if (flags.size() > seconds)
            flags.resize(seconds);
    }
    // Seconds edited while the build ran stay stale, whether it rendered them or not.
    flags.Merge(m_edit.Unbuilt());
    m_edit.SetUnbuilt(std::move(flags));
}

// The ".tqb" names the seconds of the WAV file that do not match the project file as saved:
// those edited since the save, and those a cancelled or failed build left unrendered.
void CBuildController::WriteBuildInfo() {
    if (m_app.Options().buildSaveIncremental == 0 || m_document.Path().isEmpty())
        return;
    CProjectModified stale = m_edit.Unsaved();
    stale.Merge(m_edit.Unbuilt());
    m_document.SaveBuildInfo(stale);
}

void CBuildController::EndCommand(bool ok, const Continuation& then) {
    if (then)
        then(ok);
    emit buildFinished(ok);
}

void CBuildController::Encode(Continuation then) {
    if (!NeedsBuild()) {
        const bool encoded = EncodeBuilt();
        if (then)
            then(encoded);
        return;
    }
    const QString projectPath = IsBuilding() ? QString() : ChooseBuildPath();
    if (projectPath.isEmpty()) {
        EndCommand(false, then);
        return;
    }
    LIVE_BUILD follow = m_playback.BeforeBuild(ReplaceExtension(projectPath, ".wav"), false);
    StartBuild(
        projectPath, false,
        [this, then = std::move(then)](bool built) { EndCommand(built && EncodeBuilt(), then); },
        std::move(follow));
}

bool CBuildController::EncodeBuilt() {
    if (m_document.Path().isEmpty())
        return false;
    const QString wavPath = ReplaceExtension(m_document.Path(), ".wav");
    if (!QFileInfo::exists(wavPath))
        return false;
    std::unique_ptr<IEncoder> encoder = m_encoderFactory ? m_encoderFactory() : nullptr;
    if (encoder == nullptr) {
        m_prompts.Error(QCoreApplication::translate("CBuildController", kNoEncoder),
                        QCoreApplication::translate("CBuildController", kEncodeTitle));
        return false;
    }
    return encoder->Encode(wavPath, m_edit.Project().data, m_window);
}

// A live build holds the flags it renders, so while it runs the file is not current.
bool CBuildController::NeedsBuild() const {
    return m_liveJob != nullptr || m_edit.Unbuilt().AnySet();
}

bool CBuildController::BuildLive(LIVE_BUILD live) {
    if (m_job != nullptr || m_liveJob != nullptr || live.wavPath.isEmpty() ||
        !IsStale(live.wavPath))
        return false;
    const bool solo = IsSoloFile(live.wavPath);
    if (!solo && live.wavPath != WavPath())
        return false;
    StartLiveJob(std::move(live), solo);
    return true;
}

bool CBuildController::IsStale(const QString& wavPath) const {
    return IsSoloFile(wavPath) ? m_edit.SoloUnbuilt().AnySet() : m_edit.Unbuilt().AnySet();
}

bool CBuildController::IsSoloFile(const QString& wavPath) const {
    return m_solo != nullptr && m_solo->Active() && !wavPath.isEmpty() && wavPath == m_solo->Path();
}

// The flags and the kind of build are the caller's to fill in.
CBuildJob::REQUEST CBuildController::MakeRequest(const QString& wavPath, LIVE_BUILD& live) const {
    return {ToFsPath(wavPath),
            {},
            false,
            m_app.Options().buildThreads,
            m_loaderFactory,
            live.origin,
            std::move(live.written),
            std::move(live.ended)};
}

void CBuildController::StartLiveJob(LIVE_BUILD live, bool solo) {
    CBuildJob::REQUEST request = MakeRequest(live.wavPath, live);
    if (solo) {
        const CProject song = m_solo->TakeSong(request.flags, request.rebuild);
        m_liveJob = new CBuildJob(song, std::move(request), this);
    } else {
        const CProject& song = m_edit.PrepareBuild(false);
        request.flags = std::exchange(m_edit.Unbuilt(), {});
        m_liveJob = new CBuildJob(song, std::move(request), this);
    }
    m_liveSolo = solo;
    m_liveDone = std::move(live.done);
    ConnectLiveJob();
    if (!m_liveJob->Start())
        OnLiveFinished();
}

// Questions would interrupt the user in the middle of playing: the live build ends
// instead, and the next command that builds asks them.
void CBuildController::ConnectLiveJob() {
    CBuildJob* job = m_liveJob;
    connect(job, &CBuildJob::sampleFailed, job,
            [job] { job->AnswerSample(CBuildJob::SampleAnswer::Abort); });
    connect(job, &CBuildJob::outputFailed, job, [job] { job->AcknowledgeOutputError(); });
    connect(job, &CBuildJob::finished, this, &CBuildController::OnLiveFinished);
}

void CBuildController::CancelLive() {
    if (m_liveJob != nullptr)
        m_liveJob->Cancel();
}

void CBuildController::OnLiveFinished() {
    CBuildJob* job = std::exchange(m_liveJob, nullptr);
    const bool complete = job->Outcome().status == BuildStatus::Complete;
    if (m_liveSolo)
        m_solo->MergeBack(std::move(job->Flags()), complete);
    else
        MergeFlags(*job);
    job->deleteLater();
    if (const auto done = std::exchange(m_liveDone, {}))
        done(complete);
}

void CBuildController::StopLive() {
    if (m_liveJob == nullptr)
        return;
    m_liveDone = {};
    m_liveJob->Stop();
    OnLiveFinished();
}

void CBuildController::BuildBeforeUse(Continuation then) {
    if (NeedsBuild())
        Build(false, std::move(then));
    else
        then(true);
}

void CBuildController::PrepareWav(std::function<void(const QString& wavPath)> ready) {
    if (m_solo != nullptr && m_solo->Active()) {
        PrepareWavQuietly(std::move(ready));
        return;
    }
    BuildBeforeUse([this, ready = std::move(ready)](bool built) {
        const QString wavPath = WavPath();
        if (built && !wavPath.isEmpty())
            ready(wavPath);
    });
}

// The solo file is always built quietly, like a live build: the song's own file and
// commands are not concerned, and whatever plays goes on until it is ready.
void CBuildController::PrepareWavQuietly(std::function<void(const QString& wavPath)> ready) {
    const bool solo = m_solo != nullptr && m_solo->Active();
    const QString path = solo ? m_solo->WavPath() : WavPath();
    if (path.isEmpty() || m_job != nullptr)
        return;
    const bool stale = solo ? m_solo->NeedsBuild() : NeedsBuild() || !QFileInfo::exists(path);
    if (!stale) {
        ready(path);
        return;
    }
    BuildQuietly(path, solo, std::move(ready));
}

void CBuildController::BuildQuietly(const QString& wavPath, bool solo,
                                    std::function<void(const QString& wavPath)> ready) {
    StopLive();
    LIVE_BUILD build;
    build.wavPath = wavPath;
    build.done = [ready = std::move(ready), wavPath](bool complete) {
        if (complete)
            ready(wavPath);
    };
    StartLiveJob(std::move(build), solo);
}

QString CBuildController::PlayablePath() const {
    if (m_solo != nullptr && m_solo->Active())
        return m_solo->Path();
    return WavPath();
}

void CBuildController::PlayWithDefaultPlayer() {
    BuildBeforeUse([this](bool built) {
        if (!built)
            return;
        const QString wavPath = WavPath();
        if (wavPath.isEmpty() || !m_launcher.OpenWithDefaultProgram(wavPath))
            m_prompts.Error(QCoreApplication::translate("CBuildController", kNoDefaultPlayer));
    });
}

void CBuildController::PlayWithSonalo() {
    BuildBeforeUse([this](bool built) {
        if (!built)
            return;
        const QString program = QDir(m_app.ApplicationDirectory()).filePath(kSonaloProgram);
        const QString wavPath = WavPath();
        if (wavPath.isEmpty() || !m_launcher.StartDetached(program, wavPath))
            m_prompts.Error(QCoreApplication::translate("CBuildController", kNoSonalo));
    });
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
    AbortAndWait();
    if (m_solo != nullptr)
        m_solo->Remove();
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

void CBuildController::ExportAudio() {
    if (!CanExportAudio())
        return;
    const QString projectPath = ChooseBuildPath();
    if (projectPath.isEmpty())
        return;
    m_playback.Stop();
    std::unique_ptr<IAudioExport> exporter = m_audioExportFactory();
    if (exporter != nullptr)
        exporter->Export(m_edit.Project(), projectPath, m_prompts, m_window);
}
