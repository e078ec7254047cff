#include "ui/CCommandTable.h"

#include "ui/CommandIds.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

using Kind = COMMAND_INFO::Kind;

// A command's first key is the one its menu item shows: of the two Enter keys the keypad's
// comes first so that menus say "Enter". The media keys follow the function keys of the
// transport commands.
QKeySequence Key(QKeyCombination combination) {
    return QKeySequence(combination);
}

std::vector<COMMAND_INFO> FileCommands() {
    using namespace cmd;
    return {
        {kFileNew,
         "新規作成(&N)\tCtrl+N",
         {Key(Qt::CTRL | Qt::Key_N)},
         "document-new",
         "新しいプロジェクトを作成します。\n新規作成 (Ctrl+N)"},
        {kFileOpen,
         "開く(&O)...\tCtrl+O",
         {Key(Qt::CTRL | Qt::Key_O)},
         "document-open",
         "既存のプロジェクトを開きます。\n開く (Ctrl+O)"},
        {kFileSave,
         "上書き保存(&S)\tCtrl+S",
         {Key(Qt::CTRL | Qt::Key_S)},
         "document-save",
         "プロジェクトを上書き保存します。\n上書き保存 (Ctrl+S)"},
        {kFileSaveAs,
         "名前を付けて保存(&A)...\tCtrl+Shift+S",
         {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
         "document-save-as",
         "プロジェクトに名前を付けて保存します。\n名前を付けて保存 (Ctrl+Shift+S)"},
        {kFileImport,
         "インポート(&I)...",
         {},
         "document-import",
         "プロジェクトや MIDI ファイルをインポートします。\nインポート"},
        {kFileExport,
         "エクスポート(&P)...",
         {},
         "document-export",
         "プロジェクトを MIDI ファイルとしてエクスポートします。\nエクスポート"},
        {kBuild,
         "ビルド(&B)\tCtrl+Shift+B, F7",
         {Key(Qt::CTRL | Qt::SHIFT | Qt::Key_B), Key(Qt::Key_F7)},
         "build",
         "変更された部分の Wave サウンドファイルを作成します。\nビルド (F7)"},
        {kRebuild,
         "リビルド(&R)\tShift+F7",
         {Key(Qt::SHIFT | Qt::Key_F7)},
         "rebuild",
         "Wave サウンドファイルをすべて作成し直します。\nリビルド (Shift+F7)"},
        {kEncode,
         "エンコード(&E)\tCtrl+E",
         {Key(Qt::CTRL | Qt::Key_E)},
         "encode",
         "Wave サウンドファイルを MP3 ファイルにエンコードします。\nエンコード (Ctrl+E)"},
        {kRecentFile,
         "最近使ったファイル",
         {},
         "document-open-recent",
         "最近使ったプロジェクトを開きます。\n最近使ったファイル"},
        {kAppExit, "終了(&X)", {}, "application-exit", "アプリケーションを終了します。\n終了"},
    };
}

std::vector<COMMAND_INFO> EditCommands() {
    using namespace cmd;
    return {
        {kUndo,
         "元に戻す(&U)\tCtrl+Z",
         {Key(Qt::CTRL | Qt::Key_Z), Key(Qt::ALT | Qt::Key_Backspace)},
         "edit-undo",
         "直前の操作を元に戻します。\n元に戻す (Ctrl+Z)"},
        {kRedo,
         "やり直す(&R)\tCtrl+Y",
         {Key(Qt::CTRL | Qt::Key_Y)},
         "edit-redo",
         "元に戻した操作をやり直します。\nやり直す (Ctrl+Y)"},
        {kCut,
         "切り取り(&T)\tCtrl+X",
         {Key(Qt::CTRL | Qt::Key_X), Key(Qt::SHIFT | Qt::Key_Delete)},
         "edit-cut",
         "選択された音符やトラックを切り取ってクリップボードに移動します。\n切り取り (Ctrl+X)"},
        {kCopy,
         "コピー(&C)\tCtrl+C",
         {Key(Qt::CTRL | Qt::Key_C), Key(Qt::CTRL | Qt::Key_Insert)},
         "edit-copy",
         "選択された音符やトラックをクリップボードにコピーします。\nコピー (Ctrl+C)"},
        {kPaste,
         "貼り付け(&P)\tCtrl+V",
         {Key(Qt::CTRL | Qt::Key_V), Key(Qt::SHIFT | Qt::Key_Insert)},
         "edit-paste",
         "クリップボードの内容を貼り付けます。\n貼り付け (Ctrl+V)"},
        {kDelete,
         "削除(&D)\tDel",
         {Key(Qt::Key_Delete)},
         "edit-delete",
         "選択された音符やトラックを削除します。\n削除 (Del)"},
        {kFind,
         "検索(&F)...\tCtrl+F",
         {Key(Qt::CTRL | Qt::Key_F)},
         "edit-find",
         "条件に合う音符を検索して選択します。\n検索 (Ctrl+F)"},
        {kJump,
         "ジャンプ(&J)...\tCtrl+G",
         {Key(Qt::CTRL | Qt::Key_G)},
         "go-jump",
         "指定した位置にキャレットを移動します。\nジャンプ (Ctrl+G)"},
        {kSelectAll,
         "すべて選択(&A)\tCtrl+A",
         {Key(Qt::CTRL | Qt::Key_A)},
         "edit-select-all",
         "トラックのすべての音符を選択します。\nすべて選択 (Ctrl+A)"},
        {kSelectAfter,
         "以降をすべて選択(&O)",
         {},
         "select-after",
         "キャレット以降のすべての音符を選択します。\n以降をすべて選択"},
        {kSelectInvert,
         "選択の反転(&I)\tCtrl+I",
         {Key(Qt::CTRL | Qt::Key_I)},
         "select-invert",
         "音符の選択状態を反転します。\n選択の反転 (Ctrl+I)"},
        {kSelectClear,
         "選択の解除(&E)\tCtrl+D",
         {Key(Qt::CTRL | Qt::Key_D)},
         "select-clear",
         "音符の選択を解除します。\n選択の解除 (Ctrl+D)"},
        {kInsertMeasures,
         "小節の挿入(&I)...",
         {},
         "measure-insert",
         "キャレットの位置に空の小節を挿入します。\n小節の挿入"},
        {kDeleteMeasures,
         "小節の削除(&L)...",
         {},
         "measure-delete",
         "指定した小節を削除します。\n小節の削除"},
        {kProperties,
         "プロパティ(&R)...\tAlt+Enter",
         {Key(Qt::ALT | Qt::Key_Enter), Key(Qt::ALT | Qt::Key_Return)},
         "document-properties",
         "選択された音符やトラックのプロパティを設定します。\nプロパティ (Alt+Enter)"},
    };
}

std::vector<COMMAND_INFO> ViewAndProjectCommands() {
    using namespace cmd;
    return {
        {kViewStandardBar,
         "標準バー(&T)",
         {},
         "bar-standard",
         "標準バーの表示と非表示を切り替えます。\n標準バー",
         Kind::Check},
        {kViewPlayBar,
         "再生バー(&P)",
         {},
         "bar-play",
         "再生バーの表示と非表示を切り替えます。\n再生バー",
         Kind::Check},
        {kViewNoteBar,
         "音符バー(&N)",
         {},
         "bar-note",
         "音符バーの表示と非表示を切り替えます。\n音符バー",
         Kind::Check},
        {kViewStatusBar,
         "ステータスバー(&S)",
         {},
         "bar-status",
         "ステータスバーの表示と非表示を切り替えます。\nステータスバー",
         Kind::Check},
        {kFullScreen,
         "全画面表示(&F)\tF11",
         {Key(Qt::Key_F11)},
         "view-fullscreen",
         "全画面表示と通常の表示を切り替えます。\n全画面表示 (F11)"},
        {kMinimize, "_", {}, "window-minimize", "ウィンドウを最小化します。\n最小化"},
        {kProjectSettings,
         "プロジェクトの設定(&J)...\tCtrl+Enter",
         {Key(Qt::CTRL | Qt::Key_Enter), Key(Qt::CTRL | Qt::Key_Return)},
         "project-settings",
         "プロジェクトの音量、テンポ、拍子、出力形式などを設定します。\nプロジェクトの設定 "
         "(Ctrl+Enter)"},
        {kVolumeList,
         "音量の設定(&V)...",
         {},
         "volume-list",
         "曲の途中で変わる音量の一覧を設定します。\n音量の設定"},
        {kTempoList,
         "テンポの設定(&T)...",
         {},
         "tempo-list",
         "曲の途中で変わるテンポの一覧を設定します。\nテンポの設定"},
        {kBeatList,
         "拍子の設定(&B)...",
         {},
         "beat-list",
         "曲の途中で変わる拍子の一覧を設定します。\n拍子の設定"},
        {kLoopSettings,
         "無限ループの設定(&L)...",
         {},
         "loop",
         "無限ループの範囲を設定します。\n無限ループの設定"},
        {kAddVolume,
         "この位置に音量を追加(&A)...",
         {},
         "volume-add",
         "キャレットの位置に音量の変化を追加します。\n音量の追加"},
        {kAddTempo,
         "この位置にテンポを追加(&A)...",
         {},
         "tempo-add",
         "キャレットの位置にテンポの変化を追加します。\nテンポの追加"},
        {kAddBeat,
         "この小節に拍子を追加(&A)...",
         {},
         "beat-add",
         "キャレットのある小節に拍子の変化を追加します。\n拍子の追加"},
        {kLoopStartHere,
         "この位置にループの開始を設定(&S)",
         {},
         "loop-start",
         "キャレットの位置を無限ループの開始位置にします。\nループの開始"},
        {kLoopEndHere,
         "この位置にループの終了を設定(&E)",
         {},
         "loop-end",
         "キャレットの位置を無限ループの終了位置にします。\nループの終了"},
    };
}

std::vector<COMMAND_INFO> TrackCommands() {
    using namespace cmd;
    return {
        {kTrackAdd,
         "追加(&A)...\tCtrl+T",
         {Key(Qt::CTRL | Qt::Key_T)},
         "track-add",
         "新しいトラックを追加します。\nトラックの追加 (Ctrl+T)"},
        {kTrackDuplicate,
         "複製(&L)",
         {},
         "track-duplicate",
         "現在のトラックを複製します。\nトラックの複製"},
        {kTrackUp,
         "上へ(&U)\tAlt+↑",
         {Key(Qt::ALT | Qt::Key_Up)},
         "go-up",
         "現在のトラックを一つ上へ移動します。\n上へ (Alt+↑)"},
        {kTrackDown,
         "下へ(&D)\tAlt+↓",
         {Key(Qt::ALT | Qt::Key_Down)},
         "go-down",
         "現在のトラックを一つ下へ移動します。\n下へ (Alt+↓)"},
        {kTrackMute,
         "ミュート(&M)\tCtrl+M",
         {Key(Qt::CTRL | Qt::Key_M)},
         "track-mute",
         "現在のトラックのミュートを切り替えます。\nミュート (Ctrl+M)",
         Kind::Check},
        {kTrackMuteOthers,
         "このトラック以外をすべてミュート(&X)",
         {},
         "track-solo",
         "現在のトラック以外のすべてのトラックをミュートします。\nこのトラック以外をミュート"},
        {kTrackUnmuteAll,
         "すべてのトラックのミュートを解除(&N)",
         {},
         "track-unmute",
         "すべてのトラックのミュートを解除します。\nミュートの解除"},
        {kTrackSound,
         "音色の設定(&O)...\tShift+Enter",
         {Key(Qt::SHIFT | Qt::Key_Enter), Key(Qt::SHIFT | Qt::Key_Return)},
         "track-sound",
         "PCM、波形メモリ、FM の音色を設定します。\n音色の設定 (Shift+Enter)"},
    };
}

std::vector<COMMAND_INFO> NoteCommands() {
    using namespace cmd;
    std::vector<COMMAND_INFO> list = {
        {kNoteInsert,
         "音符の入力(&N)...\tIns",
         {Key(Qt::Key_Insert)},
         "note-insert",
         "ダイアログで音符を入力します。\n音符の入力 (Ins)"},
        {kAdjustPosition,
         "位置の調整(&P)...",
         {},
         "adjust-position",
         "選択された音符の位置を調整します。\n位置の調整"},
        {kAdjustLength,
         "音長の調整(&L)...",
         {},
         "adjust-length",
         "選択された音符の音長を調整します。\n音長の調整"},
        {kAdjustVolume,
         "音量の調整(&V)...",
         {},
         "adjust-volume",
         "選択された音符の音量を調整します。\n音量の調整"},
        {kSplitFree,
         "自由分割(&S)...",
         {},
         "split-free",
         "選択された音符を指定した数に等分します。\n自由分割"},
        {kFitDotted, "付点", {}, "dotted", "フィット単位を1.5倍にします。\n付点"},
        {kFitTriplet, "3連符", {}, "triplet", "フィット単位を1/3にします。\n3連符"},
        {kLengthDotted, "付点", {}, "dotted", "既定の音長を1.5倍にします。\n付点"},
        {kLengthTriplet, "3連符", {}, "triplet", "既定の音長を1/3にします。\n3連符"},
        {kSetDefaultNote,
         "既定の音符に設定(&D)",
         {},
         "note-default",
         "選択された音符の音長、キーオフ、音量を既定の音符にします。\n既定の音符に設定"},
    };
    const char* splitCaptions[] = {"&3連符", "&5連符", "&6連符", "&7連符", "&9連符", "&12連符"};
    for (int i = 0; i < 6; ++i)
        list.push_back(
            {kSplitCommands[i],
             splitCaptions[i],
             {},
             "split",
             QStringLiteral("選択された音符を%1等分します。\n%1連符に分割").arg(kSplitParts[i])});
    const char* fitCaptions[] = {"全音符単位(&W)",  "2分音符単位(&2)",  "4分音符単位(&4)",
                                 "8分音符単位(&8)", "16分音符単位(&1)", "32分音符単位(&3)",
                                 "64分音符単位(&6)"};
    const char* lengthCaptions[] = {"全音符(&W)",   "2分音符(&2)",  "4分音符(&4)", "8分音符(&8)",
                                    "16分音符(&1)", "32分音符(&3)", "64分音符(&6)"};
    const char* names[] = {"全音符",   "2分音符",  "4分音符", "8分音符",
                           "16分音符", "32分音符", "64分音符"};
    for (int i = 0; i < kFitCount; ++i) {
        const QString icon = QStringLiteral("note-%1").arg(1 << i);
        list.push_back(
            {kFitWhole + i,
             fitCaptions[i],
             {},
             icon,
             QStringLiteral("フィット単位を%1にします。\nフィット: %1").arg(QString(names[i])),
             Kind::Radio});
        list.push_back({kLengthWhole + i,
                        lengthCaptions[i],
                        {},
                        icon,
                        QStringLiteral("既定の音長を%1にします。\n音長: %1").arg(QString(names[i])),
                        Kind::Radio});
    }
    return list;
}

std::vector<COMMAND_INFO> PlayCommands() {
    using namespace cmd;
    return {
        {kPlay,
         "再生(&P)\tF5",
         {Key(Qt::Key_F5), Key(Qt::Key_MediaPlay)},
         "media-playback-start",
         "Wave サウンドファイルを再生します。\n再生 (F5)"},
        {kPlayFromCaret,
         "現在位置から再生(&C)\tShift+F5",
         {Key(Qt::SHIFT | Qt::Key_F5), Key(Qt::SHIFT | Qt::Key_MediaPlay)},
         "play-from-caret",
         "キャレットの位置から再生します。\n現在位置から再生 (Shift+F5)"},
        {kStop,
         "停止(&S)\tF6",
         {Key(Qt::Key_F6), Key(Qt::Key_MediaStop)},
         "media-playback-stop",
         "再生を停止します。\n停止 (F6)"},
        {kRewind,
         "巻き戻し(&R)\tBack Space",
         {Key(Qt::Key_Backspace), Key(Qt::Key_MediaPrevious)},
         "media-seek-backward",
         "再生位置を全音符一つ分戻します。\n巻き戻し (Back Space)"},
        {kFastForward,
         "早送り(&F)\tSpace",
         {Key(Qt::Key_Space), Key(Qt::Key_MediaNext)},
         "media-seek-forward",
         "再生位置を全音符一つ分進めます。\n早送り (Space)"},
        {kSetPlayStart,
         "再生開始位置に設定(&O)\tF8",
         {Key(Qt::Key_F8)},
         "play-start",
         "キャレットの位置を再生開始位置にします。\n再生開始位置に設定 (F8)"},
        {kPlayDefaultPlayer,
         "既定のプレイヤーで再生(&D)\tCtrl+F5",
         {Key(Qt::CTRL | Qt::Key_F5), Key(Qt::CTRL | Qt::Key_MediaPlay)},
         "play-external",
         "Wave サウンドファイルを既定のプレイヤーで再生します。\n既定のプレイヤーで再生 (Ctrl+F5)"},
        {kPlaySonalo,
         "TSQ Sonalo で再生(&W)",
         {},
         "play-sonalo",
         "Wave サウンドファイルを TSQ Sonalo で再生します。\nTSQ Sonalo で再生"},
    };
}

std::vector<COMMAND_INFO> ToolAndHelpCommands() {
    using namespace cmd;
    return {
        {kOptions,
         "オプション(&O)...",
         {},
         "preferences-system",
         "エディタの動作と表示を設定します。\nオプション"},
        {kDefaultProject,
         "既定のプロジェクトの設定(&D)...",
         {},
         "project-default",
         "新しいプロジェクトの既定の設定を変更します。\n既定のプロジェクトの設定"},
        {kEncoderOptions,
         "エンコード オプション(&E)...",
         {},
         "encoder-options",
         "MP3 エンコーダとビットレートを設定します。\nエンコード オプション"},
        {kAssociate,
         "プロジェクトファイルの関連付け(&P)...",
         {},
         "associate",
         "プロジェクトファイルをこのエディタに関連付けます。\n関連付け"},
        {kOpenProjectFolder,
         "プロジェクトの保存先を開く(&J)",
         {},
         "folder-open",
         "プロジェクトファイルの保存先のフォルダを開きます。\nプロジェクトの保存先を開く"},
        {kHelp,
         "ヘルプ(&H)...\tF1",
         {Key(Qt::Key_F1)},
         "help-contents",
         "操作の説明を表示します。\nヘルプ (F1)"},
        {kAbout,
         "バージョン情報(&A)...",
         {},
         "help-about",
         "プログラムの情報、バージョン、著作権を表示します。\nバージョン情報"},
        {kNextPane, "次のペイン", {Key(Qt::Key_Tab)}, {}, "次のペインに切り替えます。\n次のペイン"},
        {kPrevPane,
         "前のペイン",
         {Key(Qt::SHIFT | Qt::Key_Backtab), Key(Qt::Key_Backtab)},
         {},
         "前のペインに切り替えます。\n前のペイン"},
    };
}

std::vector<COMMAND_INFO> MakeTable() {
    std::vector<COMMAND_INFO> all;
    for (auto part : {FileCommands(), EditCommands(), ViewAndProjectCommands(), TrackCommands(),
                      NoteCommands(), PlayCommands(), ToolAndHelpCommands()})
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

} // namespace

QString COMMAND_INFO::ToolTip() const {
    const QString second = prompt.section(u'\n', 1, 1);
    if (!second.isEmpty())
        return second;
    QString text = MenuText();
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$")));
    return text.remove(u'&');
}

const std::vector<COMMAND_INFO>& CCommandTable::All() {
    static const std::vector<COMMAND_INFO> table = MakeTable();
    return table;
}

const COMMAND_INFO* CCommandTable::Find(int id) {
    const auto& table = All();
    const auto it = std::find_if(table.begin(), table.end(),
                                 [id](const COMMAND_INFO& c) { return c.id == id; });
    return it == table.end() ? nullptr : &*it;
}
