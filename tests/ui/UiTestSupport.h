#pragma once
// Stand-ins for the editor window's outside world: scripted message boxes and file
// choosers, a launcher that records what it was asked to start, and an application object
// with private settings.

#include "audio/Sonalo.h"
#include "common/Options.h"
#include "model/CProject.h"
#include "ui/IAppServices.h"
#include "ui/IDesktopLauncher.h"
#include "ui/IUserPrompts.h"

#include <QList>
#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class CBuildController;
class CMainFrame;

class ScriptedPrompts : public IUserPrompts {
public:
    struct SHOWN {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
    };

    // The user's choices in order; once they run out, every box is closed unanswered.
    QList<Answer> answers;
    // Called with each message as it is shown, before it is answered.
    std::function<void(const SHOWN&)> onMessage;
    QStringList openNames;
    QStringList saveNames;
    QList<SHOWN> shown;
    QList<FileRequest> requests;

    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;
    // The texts shown so far, in order.
    QStringList Texts() const;

protected:
    std::optional<Answer> Ask(const QString& text, const QString& title, Icon icon,
                              Buttons buttons) override;
};

class RecordingLauncher : public IDesktopLauncher {
public:
    QStringList calls;
    bool result = true;

    bool OpenWithDefaultProgram(const QString& path) override;
    bool StartDetached(const QString& program, const QString& argument) override;
    bool ShowInFileManager(const QString& path, bool selectFile) override;
};

// IAppServices with its own settings file in a temporary folder.
class TestApp : public IAppServices {
public:
    TestApp();

    OPTIONS options;
    CProjectData defaultProject;
    int optionsShown = 0;

    OPTIONS& Options() override { return options; }
    const CProjectData& DefaultProject() const override { return defaultProject; }
    Sonalo& Player() override { return m_player; }
    QSettings& Profile() override { return *m_settings; }
    QString ApplicationDirectory() const override { return m_dir.path(); }
    // What the about box answers: whether the user asked for the manual.
    bool aboutAsksForManual = false;
    int aboutShown = 0;
    bool ShowAbout(QWidget*) override { return ++aboutShown, aboutAsksForManual; }
    bool EditOptions(QWidget*) override { return ++optionsShown, false; }
    void EditDefaultProject(QWidget*) override {}
    bool CanEditEncoderOptions() const override { return false; }
    void EditEncoderOptions(QWidget*) override {}
    bool CanRegisterFileType() const override { return false; }
    void RegisterFileType(QWidget*) override {}

    QString Folder() const { return m_dir.path(); }
    // A fresh settings file (as after a first run).
    void ResetSettings();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_settings;
    Sonalo m_player;
};

// Before the application object exists: the silent device, the offscreen platform unless
// another is chosen, and the settings, desktop data and temporary files of the run in `home`.
void UsePrivateHome(const QTemporaryDir& home);
// Once it exists: the settings file of the run in `home` as well.
void UsePrivateSettings(const QTemporaryDir& home);

// A test class whose cases each get an editor window of their own, over private settings,
// scripted prompts and a recording launcher.
class FrameTestBase : public QObject {
protected:
    std::unique_ptr<TestApp> app;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<RecordingLauncher> launcher;
    std::unique_ptr<CMainFrame> frame;

    // Makes and shows the window; false when it did not appear.
    bool OpenFrame();
    // Closes the window, without the save question, if it is still there.
    void CloseFrame();
    // Puts a song into the window through the edit path, as if typed in.
    void SetSong(const CProject& song);
};

// Runs the event loop until done() holds or timeoutMs pass; returns done().
bool RunUntil(const std::function<bool()>& done, int timeoutMs);

// Runs `command`, which starts a build, and the event loop until that build's command has
// ended (CBuildController::buildFinished); false on a timeout. `ok` receives its result.
bool AwaitBuild(CBuildController& builds, const std::function<void()>& command, bool* ok = nullptr,
                int timeoutMs = 120000);

// A song with one track of `count` quarter notes from tick 0, each 480 ticks apart.
CProject MakeSong(int count);
// Writes a project file; fails the calling test on error.
bool WriteSong(const CProject& song, const QString& path);
