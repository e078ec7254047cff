#include "ui/commands/FrameCommands.h"

#include "ui/CProjectCommands.h"
#include "ui/CTrackCommands.h"
#include "ui/CommandIds.h"
#include "ui/commands/CCommandSet.h"

namespace {

using namespace cmd;

void AddListDialogs(CCommandSet& set, CProjectCommands& project) {
    set.Add({.id = kProjectSettings,
             .caption = QT_TRANSLATE_NOOP("Commands", "プロジェクトの設定(&J)...\tCtrl+Enter"),
             .keys = Keys(Qt::CTRL | Qt::Key_Enter, Qt::CTRL | Qt::Key_Return),
             .icon = "project-settings",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "プロジェクトの音量、テンポ、拍子、出力形式などを設定します。\n"
                             "プロジェクトの設定 (Ctrl+Enter)"),
             .run = [&project] { project.EditProjectSettings(); }});
    set.Add({.id = kVolumeList,
             .caption = QT_TRANSLATE_NOOP("Commands", "音量の設定(&V)..."),
             .icon = "volume-list",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "曲の途中で変わる音量の一覧を設定します。\n音量の設定"),
             .run = [&project] { project.EditVolumeList(); }});
    set.Add({.id = kTempoList,
             .caption = QT_TRANSLATE_NOOP("Commands", "テンポの設定(&T)..."),
             .icon = "tempo-list",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "曲の途中で変わるテンポの一覧を設定します。\nテンポの設定"),
             .run = [&project] { project.EditTempoList(); }});
    set.Add({.id = kBeatList,
             .caption = QT_TRANSLATE_NOOP("Commands", "拍子の設定(&B)..."),
             .icon = "beat-list",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "曲の途中で変わる拍子の一覧を設定します。\n拍子の設定"),
             .run = [&project] { project.EditBeatList(); }});
    set.Add({.id = kLoopSettings,
             .caption = QT_TRANSLATE_NOOP("Commands", "無限ループの設定(&L)..."),
             .icon = "loop",
             .prompt =
                 QT_TRANSLATE_NOOP("Commands", "無限ループの範囲を設定します。\n無限ループの設定"),
             .run = [&project] { project.EditLoop(); }});
}

void AddCaretEntries(CCommandSet& set, CProjectCommands& project, const CaretPosition& caret) {
    set.Add({.id = kAddVolume,
             .caption = QT_TRANSLATE_NOOP("Commands", "この位置に音量を追加(&A)..."),
             .icon = "volume-add",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "キャレットの位置に音量の変化を追加します。\n音量の追加"),
             .run = [&project, caret] { project.AddVolumeAt(caret()); }});
    set.Add({.id = kAddTempo,
             .caption = QT_TRANSLATE_NOOP("Commands", "この位置にテンポを追加(&A)..."),
             .icon = "tempo-add",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "キャレットの位置にテンポの変化を追加します。\nテンポの追加"),
             .run = [&project, caret] { project.AddTempoAt(caret()); }});
    set.Add({.id = kAddBeat,
             .caption = QT_TRANSLATE_NOOP("Commands", "この小節に拍子を追加(&A)..."),
             .icon = "beat-add",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "キャレットのある小節に拍子の変化を追加します。\n拍子の追加"),
             .run = [&project, caret] { project.AddBeatAt(caret()); }});
    set.Add({.id = kLoopStartHere,
             .caption = QT_TRANSLATE_NOOP("Commands", "この位置にループの開始を設定(&S)"),
             .icon = "loop-start",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "キャレットの位置を無限ループの開始位置にします。\nループの開始"),
             .run = [&project, caret] { project.SetLoopStart(caret()); }});
    set.Add({.id = kLoopEndHere,
             .caption = QT_TRANSLATE_NOOP("Commands", "この位置にループの終了を設定(&E)"),
             .icon = "loop-end",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "キャレットの位置を無限ループの終了位置にします。\nループの終了"),
             .run = [&project, caret] { project.SetLoopEnd(caret()); }});
}

void AddTrackOrder(CCommandSet& set, CTrackCommands& tracks) {
    set.Add({.id = kTrackAdd,
             .caption = QT_TRANSLATE_NOOP("Commands", "追加(&A)...\tCtrl+T"),
             .keys = Keys(Qt::CTRL | Qt::Key_T),
             .icon = "track-add",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "新しいトラックを追加します。\nトラックの追加 (Ctrl+T)"),
             .run = [&tracks] { tracks.Add(); }});
    set.Add(
        {.id = kTrackDuplicate,
         .caption = QT_TRANSLATE_NOOP("Commands", "複製(&L)"),
         .icon = "track-duplicate",
         .prompt = QT_TRANSLATE_NOOP("Commands", "現在のトラックを複製します。\nトラックの複製"),
         .run = [&tracks] { tracks.Duplicate(); },
         .enabled = [&tracks] { return tracks.HasCurrentTrack(); }});
    set.Add({.id = kTrackUp,
             .caption = QT_TRANSLATE_NOOP("Commands", "上へ(&U)\tAlt+↑"),
             .keys = Keys(Qt::ALT | Qt::Key_Up),
             .icon = "go-up",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "現在のトラックを一つ上へ移動します。\n上へ (Alt+↑)"),
             .run = [&tracks] { tracks.MoveUp(); },
             .enabled = [&tracks] { return tracks.CanMoveUp(); }});
    set.Add({.id = kTrackDown,
             .caption = QT_TRANSLATE_NOOP("Commands", "下へ(&D)\tAlt+↓"),
             .keys = Keys(Qt::ALT | Qt::Key_Down),
             .icon = "go-down",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "現在のトラックを一つ下へ移動します。\n下へ (Alt+↓)"),
             .run = [&tracks] { tracks.MoveDown(); },
             .enabled = [&tracks] { return tracks.CanMoveDown(); }});
}

void AddTrackSound(CCommandSet& set, CTrackCommands& tracks) {
    set.Add({.id = kTrackMute,
             .caption = QT_TRANSLATE_NOOP("Commands", "ミュート(&M)\tCtrl+M"),
             .keys = Keys(Qt::CTRL | Qt::Key_M),
             .icon = "track-mute",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "現在のトラックのミュートを切り替えます。\nミュート (Ctrl+M)"),
             .kind = COMMAND::Kind::Check,
             .run = [&tracks] { tracks.ToggleMute(); },
             .enabled = [&tracks] { return tracks.HasCurrentTrack(); },
             .checked = [&tracks] { return tracks.IsCurrentMuted(); }});
    set.Add({.id = kTrackMuteOthers,
             .caption = QT_TRANSLATE_NOOP("Commands", "このトラック以外をすべてミュート(&X)"),
             .icon = "track-solo",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "現在のトラック以外のすべてのトラックをミュートします。\n"
                                         "このトラック以外をミュート"),
             .run = [&tracks] { tracks.MuteOthers(); },
             .enabled = [&tracks] { return tracks.CanMuteOthers(); }});
    set.Add({.id = kTrackUnmuteAll,
             .caption = QT_TRANSLATE_NOOP("Commands", "すべてのトラックのミュートを解除(&N)"),
             .icon = "track-unmute",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "すべてのトラックのミュートを解除します。\nミュートの解除"),
             .run = [&tracks] { tracks.UnmuteAll(); }});
    set.Add({.id = kTrackSound,
             .caption = QT_TRANSLATE_NOOP("Commands", "音色の設定(&O)...\tShift+Enter"),
             .keys = Keys(Qt::SHIFT | Qt::Key_Enter, Qt::SHIFT | Qt::Key_Return),
             .icon = "track-sound",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "PCM、波形メモリ、FM の音色を設定します。\n音色の設定 (Shift+Enter)"),
             .run = [&tracks] { tracks.EditSound(); },
             .enabled = [&tracks] { return tracks.CanEditSound(); }});
}

} // namespace

void RegisterProjectCommands(CCommandSet& set, CProjectCommands& project, CaretPosition caret) {
    AddListDialogs(set, project);
    AddCaretEntries(set, project, caret);
}

void RegisterTrackCommands(CCommandSet& set, CTrackCommands& tracks) {
    AddTrackOrder(set, tracks);
    AddTrackSound(set, tracks);
}
