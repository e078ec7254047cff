#pragma once
// The commands that turn the open song into files and hand them on: build and rebuild of
// the WAV file (incremental through the unbuilt set), MP3 encoding, the temporary build
// files of an untitled song, the default player, the player program and the project's
// folder in the file manager.
//
// A build runs on a thread of its own (CBuildJob) over a copy of the song taken when it
// starts; this thread keeps its ordinary event loop, shows the progress window over the
// disabled main window and answers the build's questions. Whatever follows a build —
// playing, an outside player, encoding, the ".tqb" file — is a continuation that runs when
// it ends. The flags the build renders are its own while it runs: the unbuilt set then holds
// only what was edited meanwhile, and the two are merged again at the end.
//
// Thread: the user-interface thread.

#include "ui/CBuildJob.h"
#include "ui/CPlaybackController.h"
#include "ui/IAudioExport.h"
#include "ui/IEncoder.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CBuildProgressDialog;
class CDocument;
class CEditController;
class CSoloBuild;
class CTempFolder;
class IAppServices;
class IDesktopLauncher;
class IUserPrompts;
class QWidget;
class WaitCursor;

class CBuildController : public QObject, public IWavSource {
    Q_OBJECT
public:
    static constexpr const char* kTempFolderName = "tsq_temp_projects";
    // Runs once when a command has ended, with its result.
    using Continuation = std::function<void(bool ok)>;

    CBuildController(CEditController& edit, CDocument& document, CPlaybackController& playback,
                     IUserPrompts& prompts, IDesktopLauncher& launcher, IAppServices& app,
                     QWidget* window, QObject* parent = nullptr);
    ~CBuildController() override;

    // Without an encoder factory no encoder is available.
    void SetEncoderFactory(EncoderFactory factory) { m_encoderFactory = std::move(factory); }
    // Without an export factory the file menu's "書き出し" stays disabled.
    void SetAudioExportFactory(AudioExportFactory factory) {
        m_audioExportFactory = std::move(factory);
    }
    // "書き出し": exports a copy of the song as it is now; builds of its own, beside the
    // project, leave the WAV file and the unbuilt set alone.
    void ExportAudio();
    bool CanExportAudio() const { return m_audioExportFactory && !IsBuilding(); }
    // The solo file: while tracks are soloed, PrepareWav builds and hands out that file
    // instead of the song's, and live builds of it go there. Unset, nothing is soloed.
    void SetSoloBuild(CSoloBuild* solo) { m_solo = solo; }
    // Where the build reads samples from; the decoder route of CAudioFile unless set.
    void SetSampleLoaderFactory(CBuildJob::LoaderFactory factory);

    // "ビルド" (rebuild false) and "リビルド" (true): saves first when "BuildSaveProject" is
    // on, writes the ".tqb" afterwards, encodes when "BuildEncode" is on; `then` gets the
    // build's result, or the encoder's when it encoded.
    void Build(bool rebuild, Continuation then = {});
    // "エンコード": builds what is stale, then encodes.
    void Encode(Continuation then = {});
    // Builds when any second is stale; `then` gets false when that build failed.
    void BuildBeforeUse(Continuation then);
    bool IsBuilding() const override { return m_job != nullptr; }
    // Stops a running build and waits for its thread: what it rendered counts, the rest
    // stays stale. Used before the song or the window goes away.
    void AbortAndWait();

    // IWavSource: build before use, then the WAV path.
    void PrepareWav(std::function<void(const QString& wavPath)> ready) override;
    void PrepareWavQuietly(std::function<void(const QString& wavPath)> ready) override;
    QString PlayablePath() const override;
    // IWavSource: a live build is no command: it shows nothing, leaves every command
    // enabled and gives up quietly on a sample that will not load or a file it cannot
    // write (the seconds stay stale). Any command that builds or uses the file stops it
    // first, its rendered seconds kept.
    bool BuildLive(LIVE_BUILD request) override;
    bool IsBuildingLive() const override { return m_liveJob != nullptr; }
    bool IsStale(const QString& wavPath) const override;
    void CancelLive() override;
    void StopLive() override;

    void PlayWithDefaultPlayer();
    void PlayWithSonalo();
    void OpenProjectFolder();
    bool CanOpenProjectFolder() const;

    // Removes the WAV file of the temporary project and the temporary folder (after
    // stopping a build that may be writing it).
    void DeleteTemporaryBuildFiles();
    const QString& TemporaryProjectPath() const { return m_tempProjectPath; }
    // The project file the build uses: the document's path, else the temporary one.
    QString BuildProjectPath() const;
    QString WavPath() const;

signals:
    void buildingChanged(bool building);
    // A command that started a build (Build, Encode, build before use) has ended, after its
    // continuation; `ok` is the command's result. Also sent when it could not start.
    void buildFinished(bool ok);

private:
    QString ChooseBuildPath();
    void StartBuild(const QString& projectPath, bool rebuild, Continuation then,
                    LIVE_BUILD follow = {});
    void ConnectJob();
    void OnProgress(const BuildProgress& progress);
    void OnSampleFailed(const QString& samplePath);
    void OnOutputFailed();
    void OnJobFinished();
    CBuildJob::REQUEST MakeRequest(const QString& wavPath, LIVE_BUILD& live) const;
    void StartLiveJob(LIVE_BUILD live, bool solo);
    bool IsSoloFile(const QString& wavPath) const;
    void BuildQuietly(const QString& wavPath, bool solo,
                      std::function<void(const QString& wavPath)> ready);
    void ConnectLiveJob();
    void OnLiveFinished();
    void MergeFlags(CBuildJob& job);
    void WriteBuildInfo();
    void EndCommand(bool ok, const Continuation& then);
    bool EncodeBuilt();
    bool NeedsBuild() const;

    CEditController& m_edit;
    CDocument& m_document;
    CPlaybackController& m_playback;
    IUserPrompts& m_prompts;
    IDesktopLauncher& m_launcher;
    IAppServices& m_app;
    QWidget* m_window;
    EncoderFactory m_encoderFactory;
    AudioExportFactory m_audioExportFactory;
    CBuildJob::LoaderFactory m_loaderFactory;
    std::unique_ptr<CTempFolder> m_tempFolder;
    QString m_tempProjectPath;

    // The build in progress: its job (a child of this object), what follows it, the
    // progress window once the build has shown progress, and the wait cursor.
    QPointer<CBuildJob> m_job;
    Continuation m_afterBuild;
    std::function<void(bool complete)> m_followDone; // live playback hears the build
    QPointer<CBuildProgressDialog> m_progress;
    std::unique_ptr<WaitCursor> m_waitCursor;

    // The live build in progress and what its player waits for when it ends.
    QPointer<CBuildJob> m_liveJob;
    std::function<void(bool complete)> m_liveDone;
    bool m_liveSolo = false; // the live build writes the solo file
    CSoloBuild* m_solo = nullptr;
};
