#pragma once
// The editor's application object. Owns what the rest of the editor treats as global: the
// options, the settings of new projects, the custom colours of the colour chooser, the
// player of built files, the clipboard format names and the application folder. Reads the
// settings at start-up and writes them back at exit, parses the command line, makes the
// main window and carries out the application commands (about, options, default project,
// encoder options, file association); the frame's encode commands get their encoder here.
//
// Needs a QApplication. Thread: the user-interface thread only.

#include "app/CSettingsStore.h"
#include "ui/IAppServices.h"

#include <QStringList>

#include <memory>
#include <optional>

class CMainFrame;
class IUserPrompts;

class CTSQApp : public IAppServices {
public:
    // `prompts` answers every message box of the program (the "del" question, the
    // recovery question, the window's own); null means real message boxes.
    explicit CTSQApp(IUserPrompts* prompts = nullptr);
    ~CTSQApp() override;
    CTSQApp(const CTSQApp&) = delete;
    CTSQApp& operator=(const CTSQApp&) = delete;

    // Reads the settings and handles the command line. Returns an exit status when no
    // window is made (the "del" switch); otherwise the main window is open.
    std::optional<int> Start(const QStringList& arguments);
    // Closes the window if it is still there and writes the settings back; with the "del"
    // switch answered yes, removes them instead.
    void Shutdown();

    CMainFrame* Frame() const { return m_frame.get(); }
    CSettingsStore& Store() { return m_store; }
    CColorButton::CustomColors& CustomColors() { return m_customColors; }
    // "TSQ_NOTE", "TSQ_TRACK", "TSQ_WAVEMEMORY", "TSQ_FM".
    static QStringList ClipboardFormats();
    bool DeleteSettings() const { return m_deleteSettings; }

    // IAppServices
    OPTIONS& Options() override { return m_options; }
    const CProjectData& DefaultProject() const override { return m_defaultProject; }
    Sonalo& Player() override { return *m_player; }
    QSettings& Profile() override { return m_store.Settings(); }
    QString ApplicationDirectory() const override { return m_applicationDirectory; }
    bool ShowAbout(QWidget* parent) override;
    bool EditOptions(QWidget* parent) override;
    void EditDefaultProject(QWidget* parent) override;
    bool CanEditEncoderOptions() const override { return true; }
    void EditEncoderOptions(QWidget* parent) override;
    bool CanRegisterFileType() const override { return true; }
    void RegisterFileType(QWidget* parent) override;

private:
    void LoadSettings();
    void SaveSettings();
    void ApplyOptions();
    bool AskDeleteSettings();
    // The prompts given, or real message boxes made on first use.
    IUserPrompts& Prompts();

    IUserPrompts* m_prompts;
    std::unique_ptr<IUserPrompts> m_ownPrompts;
    CSettingsStore m_store;
    OPTIONS m_options;
    CProjectData m_defaultProject;
    CColorButton::CustomColors m_customColors{};
    std::unique_ptr<Sonalo> m_player;
    QString m_applicationDirectory;
    std::unique_ptr<CMainFrame> m_frame;
    bool m_deleteSettings = false;
    bool m_shutDown = false;
};
