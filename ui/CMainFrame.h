#pragma once
// The editor's main window. It creates the controllers, the panes and the bars, registers
// the frame's commands (ui/commands) beside the panes' in one CCommandRegistry, which routes
// them (track window with the focus, then piano roll, then note bar, then the frame), builds
// the menus and bar buttons from the declarations of ui/CommandIds.h and keeps them enabled
// and checked as the commands' rules say. It holds no document logic of its own:
//   CEditController     the song, the undo ring and the change maps (the edit path)
//   CDocument           new, open, save, import, export, closing, the title
//   CBuildController    build, encode, temporary build files, outside players
//   CPlaybackController playback in the editor and the play line
//   CRecorder           "録音": keys played during playback entered where they sounded
//   CTrackCommands, CProjectCommands, CNoteDefaults   the frame's editing commands
//   CWindowState        placement and full screen
//   CPresetCommands, CPresetBrowser   saving and applying presets, the browser panel
//   CManualOpener       the manual behind F1 and the about box
//
// Thread: the user-interface thread only.

#include "ui/CDocument.h"
#include "ui/commands/CCommandRegistry.h"

#include <QMainWindow>

#include <memory>

class CAutosave;
class CBuildController;
class CEditController;
class CManualOpener;
class CFrameActions;
class CFrameMenus;
class CMidiKeyboard;
class CNoteBar;
class CNoteDefaults;
class CPianoRollWnd;
class CPlayBar;
class CPlaybackController;
class CPresetBrowser;
class CPresetCommands;
class CProjectCommands;
class CRecorder;
class CSoloTracks;
class CTrackCommands;
class CTrackWnd;
class CWindowState;
class IAppServices;
class IDesktopLauncher;
class IUserPrompts;
class QKeyEvent;
class QLabel;
class QSplitter;
class QToolBar;

class CMainFrame : public QMainWindow, private IDocumentHooks {
    Q_OBJECT
public:
    static constexpr int kTrackPaneWidth = 200;

    // `prompts` and `launcher` default to the real message boxes and desktop services; the
    // frame does not take ownership of those given.
    explicit CMainFrame(IAppServices& app, IUserPrompts* prompts = nullptr,
                        IDesktopLauncher* launcher = nullptr);
    ~CMainFrame() override;

    // Opens the file named on the command line.
    bool OpenFile(const QString& path);
    // Shows the window, placed as it was when "RestoreWindow" is on.
    void ShowWindow(bool restore);
    // The start-up question about songs left by editors that did not end cleanly; true
    // when one was restored into this window.
    bool OfferRecovery();

    // Runs a command through the routing; false when no one handles it or it is disabled.
    bool RunCommand(int id);
    bool IsCommandEnabled(int id) const;
    // Brings every action's enabled and checked state up to date.
    void UpdateCommandStates();

    QAction* Action(int id) const;
    CEditController& Edit() { return *m_edit; }
    CDocument& Document() { return *m_document; }
    CBuildController& Builds() { return *m_build; }
    CAutosave& Autosave() { return *m_autosave; }
    CPlaybackController& Playback() { return *m_playback; }
    CRecorder& Recorder() { return *m_recorder; }
    CMidiKeyboard& MidiKeyboard() { return *m_midiKeyboard; }
    CNoteDefaults& NoteDefaults() { return *m_noteDefaults; }
    CTrackWnd& TrackWnd() { return *m_trackWnd; }
    CSoloTracks& Solo() { return *m_solo; }
    CPianoRollWnd& PianoRollWnd() { return *m_pianoRoll; }
    CNoteBar& NoteBar() { return *m_noteBar; }
    CPlayBar& PlayBar() { return *m_playBar; }
    CWindowState& WindowState() { return *m_windowState; }
    CPresetCommands& PresetCommands() { return *m_presetCommands; }
    CPresetBrowser& PresetBrowser() { return *m_presetBrowser; }
    CManualOpener& Manual() { return *m_manual; }
    QSplitter& Splitter() { return *m_splitter; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    // IDocumentHooks
    void StopPlayback() override;
    void DeleteTemporaryBuildFiles() override;

    void CreateControllers();
    void CreatePanes();
    void CreatePresets();
    void CreateBars();
    void CreateStatusBar();
    void RegisterCommands();
    void CreateMenus();
    void ConnectSignals();
    void ConnectAutosave();
    void ConnectRecorder();
    void ConnectPanes();
    void OnViewsChanged(int views);
    void UpdateTitle();
    void UpdateSeekRange();
    void ScheduleCommandUpdate();
    void SaveLayout();
    void RestoreLayout();
    bool HandleKeyCommand(QKeyEvent& event);

    IAppServices& m_app;
    std::unique_ptr<IUserPrompts> m_ownPrompts;
    std::unique_ptr<IDesktopLauncher> m_ownLauncher;
    IUserPrompts* m_prompts;
    IDesktopLauncher* m_launcher;
    std::unique_ptr<CManualOpener> m_manual;

    CEditController* m_edit = nullptr;
    CNoteDefaults* m_noteDefaults = nullptr;
    CPlaybackController* m_playback = nullptr;
    CDocument* m_document = nullptr;
    CBuildController* m_build = nullptr;
    CSoloTracks* m_solo = nullptr;
    CTrackCommands* m_trackCommands = nullptr;
    CProjectCommands* m_projectCommands = nullptr;
    CPresetCommands* m_presetCommands = nullptr;
    CFrameActions* m_actions = nullptr;
    CFrameMenus* m_menus = nullptr;
    CWindowState* m_windowState = nullptr;
    CAutosave* m_autosave = nullptr;

    QSplitter* m_splitter = nullptr;
    CTrackWnd* m_trackWnd = nullptr;
    CPianoRollWnd* m_pianoRoll = nullptr;
    CPresetBrowser* m_presetBrowser = nullptr;
    CMidiKeyboard* m_midiKeyboard = nullptr;
    CRecorder* m_recorder = nullptr;
    QToolBar* m_standardBar = nullptr;
    CNoteBar* m_noteBar = nullptr;
    CPlayBar* m_playBar = nullptr;
    QLabel* m_messagePane = nullptr;
    QLabel* m_keyPane = nullptr;
    QLabel* m_positionPane = nullptr;

    CCommandSet m_commands; // the frame's own, routed last
    CCommandRegistry m_registry;
    bool m_updateScheduled = false;
};
