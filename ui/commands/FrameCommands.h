#pragma once
// The commands the frame carries out through its controllers, registered menu by menu with
// everything about them: caption, keys, icon, prompts and the rules that run, enable and
// check them. The panes register their own (CNoteCommands, CTrackWnd, CNoteBar); the
// controllers keep the logic, these only call it.
//
// Every reference given must outlive the set.
//
// Thread: the user-interface thread only.

#include <cstdint>
#include <functional>

class CBuildController;
class CCommandSet;
class CDocument;
class CEditController;
class CManualOpener;
class CNoteDefaults;
class CPlaybackController;
class CPresetCommands;
class CProjectCommands;
class CTrackCommands;
class IAppServices;
class QMainWindow;
class QWidget;

// The caret position of the piano roll, read when a command runs.
using CaretPosition = std::function<int32_t()>;

// The window parts the view commands show, hide and switch between.
struct FRAME_VIEW {
    QMainWindow& window;
    QWidget& standardBar;
    QWidget& playBar;
    QWidget& noteBar;
    QWidget& statusBar;
    QWidget& trackWnd;
    QWidget& pianoRoll;
    std::function<void()> toggleFullScreen;
};

// "ファイル": new, open, save, save as, import, export, build, rebuild, encode, the recent
// files' placeholder and exit.
void RegisterFileCommands(CCommandSet& set, CDocument& document, CBuildController& build,
                          QWidget& window);
// Undo and redo of "編集", the bars and full screen of "表示", minimizing and the keys that
// switch panes.
void RegisterEditAndViewCommands(CCommandSet& set, CEditController& edit, const FRAME_VIEW& view);
// "プロジェクト": the song-wide dialogs and the entries at the caret.
void RegisterProjectCommands(CCommandSet& set, CProjectCommands& project, CaretPosition caret);
// "トラック".
void RegisterTrackCommands(CCommandSet& set, CTrackCommands& tracks);
// "音色を読み込む…" and "音色を保存…" of "トラック", and the preset browser's toggle of "表示".
void RegisterPresetCommands(CCommandSet& set, CPresetCommands& presets, QWidget& browser);
// The fit unit and the default length: the radio items of "音符" and the note bar's buttons.
void RegisterNoteValueCommands(CCommandSet& set, CNoteDefaults& notes);
// "再生": playback in the editor and in outside players.
void RegisterPlayCommands(CCommandSet& set, CPlaybackController& playback, CBuildController& build,
                          IAppServices& app, CaretPosition caret);
// "ツール" and "ヘルプ". `refreshPanes` redraws the panes after the options changed.
void RegisterToolAndHelpCommands(CCommandSet& set, IAppServices& app, CBuildController& build,
                                 CManualOpener& manual, QWidget& window,
                                 std::function<void()> refreshPanes);
