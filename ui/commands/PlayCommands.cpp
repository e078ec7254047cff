#include "ui/commands/FrameCommands.h"

#include "ui/CBuildController.h"
#include "ui/CPlaybackController.h"
#include "ui/CommandIds.h"
#include "ui/IAppServices.h"
#include "ui/commands/CCommandSet.h"

namespace {

using namespace cmd;

// Seeking needs something playing; starting needs nothing to be.
void AddSeeking(CCommandSet& set, CPlaybackController& playback) {
    auto playing = [&playback] { return playback.IsPlaying(); };
    set.Add({.id = kStop,
             .caption = QT_TRANSLATE_NOOP("Commands", "停止(&S)\tF6"),
             .keys = Keys(Qt::Key_F6, Qt::Key_MediaStop),
             .icon = "media-playback-stop",
             .prompt = QT_TRANSLATE_NOOP("Commands", "再生を停止します。\n停止 (F6)"),
             .run = [&playback] { playback.Stop(); },
             .enabled = playing});
    set.Add({.id = kRewind,
             .caption = QT_TRANSLATE_NOOP("Commands", "巻き戻し(&R)\tBack Space"),
             .keys = Keys(Qt::Key_Backspace, Qt::Key_MediaPrevious),
             .icon = "media-seek-backward",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "再生位置を全音符一つ分戻します。\n巻き戻し (Back Space)"),
             .run = [&playback] { playback.Rewind(); },
             .enabled = playing});
    set.Add({.id = kFastForward,
             .caption = QT_TRANSLATE_NOOP("Commands", "早送り(&F)\tSpace"),
             .keys = Keys(Qt::Key_Space, Qt::Key_MediaNext),
             .icon = "media-seek-forward",
             .prompt =
                 QT_TRANSLATE_NOOP("Commands", "再生位置を全音符一つ分進めます。\n早送り (Space)"),
             .run = [&playback] { playback.FastForward(); },
             .enabled = playing});
}

// What only playback has: clicks on the beats and a loop over the selected notes.
void AddPlaybackAids(CCommandSet& set, CPlaybackController& playback) {
    set.Add({.id = kPlayLoopSelection,
             .caption = QT_TRANSLATE_NOOP("Commands", "選択範囲をループ再生(&L)\tCtrl+L"),
             .keys = Keys(Qt::CTRL | Qt::Key_L),
             .icon = "play-loop",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "選択した音符の範囲を繰り返し再生します。もう一度選ぶと"
                             "ループを終えて再生を続けます。\n選択範囲をループ再生 (Ctrl+L)"),
             .kind = COMMAND::Kind::Check,
             .run = [&playback] { playback.ToggleSelectionLoop(); },
             .enabled = [&playback] { return playback.IsLooping() || playback.HasSelection(); },
             .checked = [&playback] { return playback.IsLooping(); }});
    set.Add({.id = kMetronome,
             .caption = QT_TRANSLATE_NOOP("Commands", "メトロノーム(&M)\tCtrl+Shift+M"),
             .keys = Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_M),
             .icon = "metronome",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "再生中に拍ごとにクリック音を鳴らします。"
                             "ファイルには書き込まれません。\nメトロノーム (Ctrl+Shift+M)"),
             .kind = COMMAND::Kind::Check,
             .run = [&playback] { playback.SetMetronome(!playback.Metronome()); },
             .checked = [&playback] { return playback.Metronome(); }});
    set.Add({.id = kTrackSolo,
             .caption = QT_TRANSLATE_NOOP("Commands", "ソロ(&Y)"),
             .icon = "track-solo-play",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands",
                 "現在のトラックをソロにして、ソロのトラックだけを再生します。トラック一覧で"
                 "ミュートの絵を Ctrl+クリックしても切り替わります。曲には保存されず、"
                 "ビルドするファイルは変わりません。\nソロ (ミュートの絵を Ctrl+クリック)"),
             .kind = COMMAND::Kind::Check,
             .run = [&playback] { playback.ToggleSolo(); },
             .enabled = [&playback] { return playback.HasCurrentTrack(); },
             .checked = [&playback] { return playback.IsCurrentSolo(); }});
}

void AddOutsidePlayers(CCommandSet& set, CBuildController& build) {
    set.Add({.id = kPlayDefaultPlayer,
             .caption = QT_TRANSLATE_NOOP("Commands", "既定のプレイヤーで再生(&D)\tCtrl+F5"),
             .keys = Keys(Qt::CTRL | Qt::Key_F5, Qt::CTRL | Qt::Key_MediaPlay),
             .icon = "play-external",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "Wave サウンドファイルを既定のプレイヤーで再生します。\n"
                                         "既定のプレイヤーで再生 (Ctrl+F5)"),
             .run = [&build] { build.PlayWithDefaultPlayer(); }});
    set.Add(
        {.id = kPlaySonalo,
         .caption = QT_TRANSLATE_NOOP("Commands", "TSQ Sonalo で再生(&W)"),
         .icon = "play-sonalo",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands", "Wave サウンドファイルを TSQ Sonalo で再生します。\nTSQ Sonalo で再生"),
         .run = [&build] { build.PlayWithSonalo(); }});
}

} // namespace

void RegisterPlayCommands(CCommandSet& set, CPlaybackController& playback, CBuildController& build,
                          IAppServices& app, CaretPosition caret) {
    auto stopped = [&playback] { return !playback.IsPlaying(); };
    set.Add(
        {.id = kPlay,
         .caption = QT_TRANSLATE_NOOP("Commands", "再生(&P)\tF5"),
         .keys = Keys(Qt::Key_F5, Qt::Key_MediaPlay),
         .icon = "media-playback-start",
         .prompt = QT_TRANSLATE_NOOP("Commands", "Wave サウンドファイルを再生します。\n再生 (F5)"),
         .run = [&playback] { playback.Play(); },
         .enabled = stopped});
    set.Add({.id = kPlayFromCaret,
             .caption = QT_TRANSLATE_NOOP("Commands", "現在位置から再生(&C)\tShift+F5"),
             .keys = Keys(Qt::SHIFT | Qt::Key_F5, Qt::SHIFT | Qt::Key_MediaPlay),
             .icon = "play-from-caret",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "キャレットの位置から再生します。\n現在位置から再生 (Shift+F5)"),
             .run = [&playback, caret] { playback.PlayFrom(caret()); },
             .enabled = stopped});
    AddSeeking(set, playback);
    AddPlaybackAids(set, playback);
    set.Add({.id = kSetPlayStart,
             .caption = QT_TRANSLATE_NOOP("Commands", "再生開始位置に設定(&O)\tF8"),
             .keys = Keys(Qt::Key_F8),
             .icon = "play-start",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "キャレットの位置を再生開始位置にします。\n再生開始位置に設定 (F8)"),
             .run = [&playback, &app, caret] {
                 playback.SetPlayStart(caret(), app.Options().playScroll != 0);
             }});
    AddOutsidePlayers(set, build);
}
