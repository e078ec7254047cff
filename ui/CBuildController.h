#pragma once
// The commands that turn the open song into files and hand them on: build and rebuild of
// the WAV file (incremental through the unbuilt set), MP3 encoding, the temporary build
// files of an untitled song, the default player, the player program and the project's
// folder in the file manager.
//
// Thread: the user-interface thread. Build runs CBuild, which renders on worker threads
// and pumps this thread's events until it is done; the main window is disabled meanwhile.

#include "ui/CPlaybackController.h"
#include "ui/IEncoder.h"

#include <QObject>
#include <QString>

#include <memory>

class CDocument;
class CEditController;
class CTempFolder;
class IAppServices;
class IDesktopLauncher;
class IUserPrompts;
class QWidget;

class CBuildController : public QObject, public IWavSource {
    Q_OBJECT
public:
    static constexpr const char* kTempFolderName = "tsq_temp_projects";

    CBuildController(CEditController& edit, CDocument& document, CPlaybackController& playback,
                     IUserPrompts& prompts, IDesktopLauncher& launcher, IAppServices& app,
                     QWidget* window, QObject* parent = nullptr);
    ~CBuildController() override;

    // Without an encoder factory no encoder is available.
    void SetEncoderFactory(EncoderFactory factory) { m_encoderFactory = std::move(factory); }

    // "ビルド" (rebuild false) and "リビルド" (true).
    bool Build(bool rebuild);
    // "エンコード".
    bool Encode();
    // Builds when any second is stale. False when that build failed.
    bool BuildBeforeUse();
    bool IsBuilding() const { return m_building; }

    // IWavSource: build before use, then the WAV path.
    bool PrepareWav(QString& wavPath) override;

    void PlayWithDefaultPlayer();
    void PlayWithSonalo();
    void OpenProjectFolder();
    bool CanOpenProjectFolder() const;

    // Removes the WAV file of the temporary project and the temporary folder.
    void DeleteTemporaryBuildFiles();
    const QString& TemporaryProjectPath() const { return m_tempProjectPath; }
    // The project file the build uses: the document's path, else the temporary one.
    QString BuildProjectPath() const;
    QString WavPath() const;

signals:
    void buildingChanged(bool building);

private:
    QString ChooseBuildPath();
    bool RunBuild(const QString& projectPath, bool rebuild);
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
    std::unique_ptr<CTempFolder> m_tempFolder;
    QString m_tempProjectPath;
    bool m_building = false;
};
