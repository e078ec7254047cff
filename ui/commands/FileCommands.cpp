#include "ui/commands/FrameCommands.h"

#include "ui/CBuildController.h"
#include "ui/CDocument.h"
#include "ui/CommandIds.h"
#include "ui/commands/CCommandSet.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

using namespace cmd;

void AddDocumentCommands(CCommandSet& set, CDocument& document) {
    set.Add({.id = kFileNew,
             .caption = QT_TRANSLATE_NOOP("Commands", "新規作成(&N)\tCtrl+N"),
             .keys = Keys(Qt::CTRL | Qt::Key_N),
             .icon = "document-new",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "新しいプロジェクトを作成します。\n新規作成 (Ctrl+N)"),
             .run = [&document] { document.New(); }});
    set.Add(
        {.id = kFileOpen,
         .caption = QT_TRANSLATE_NOOP("Commands", "開く(&O)...\tCtrl+O"),
         .keys = Keys(Qt::CTRL | Qt::Key_O),
         .icon = "document-open",
         .prompt = QT_TRANSLATE_NOOP("Commands", "既存のプロジェクトを開きます。\n開く (Ctrl+O)"),
         .run = [&document] { document.OpenWithDialog(); }});
    set.Add({.id = kFileSave,
             .caption = QT_TRANSLATE_NOOP("Commands", "上書き保存(&S)\tCtrl+S"),
             .keys = Keys(Qt::CTRL | Qt::Key_S),
             .icon = "document-save",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "プロジェクトを上書き保存します。\n上書き保存 (Ctrl+S)"),
             .run = [&document] { document.Save(); }});
    set.Add(
        {.id = kFileSaveAs,
         .caption = QT_TRANSLATE_NOOP("Commands", "名前を付けて保存(&A)...\tCtrl+Shift+S"),
         .keys = Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         .icon = "document-save-as",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands", "プロジェクトに名前を付けて保存します。\n名前を付けて保存 (Ctrl+Shift+S)"),
         .run = [&document] { document.SaveAs(); }});
    set.Add({.id = kFileImport,
             .caption = QT_TRANSLATE_NOOP("Commands", "インポート(&I)..."),
             .icon = "document-import",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "プロジェクトや MIDI ファイルをインポートします。\nインポート"),
             .run = [&document] { document.Import(); }});
    set.Add(
        {.id = kFileExport,
         .caption = QT_TRANSLATE_NOOP("Commands", "エクスポート(&P)..."),
         .icon = "document-export",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands", "プロジェクトを MIDI ファイルとしてエクスポートします。\nエクスポート"),
         .run = [&document] { document.Export(); }});
}

void AddBuildCommands(CCommandSet& set, CBuildController& build) {
    set.Add({.id = kBuild,
             .caption = QT_TRANSLATE_NOOP("Commands", "ビルド(&B)\tCtrl+Shift+B, F7"),
             .keys = Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_B, Qt::Key_F7),
             .icon = "build",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "変更された部分の Wave サウンドファイルを作成します。\nビルド (F7)"),
             .run = [&build] { build.Build(false); }});
    set.Add({.id = kRebuild,
             .caption = QT_TRANSLATE_NOOP("Commands", "リビルド(&R)\tShift+F7"),
             .keys = Keys(Qt::SHIFT | Qt::Key_F7),
             .icon = "rebuild",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "Wave サウンドファイルをすべて作成し直します。\nリビルド (Shift+F7)"),
             .run = [&build] { build.Build(true); }});
    set.Add({.id = kEncode,
             .caption = QT_TRANSLATE_NOOP("Commands", "エンコード(&E)\tCtrl+E"),
             .keys = Keys(Qt::CTRL | Qt::Key_E),
             .icon = "encode",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands",
                 "Wave サウンドファイルを MP3 ファイルにエンコードします。\nエンコード (Ctrl+E)"),
             .run = [&build] { build.Encode(); }});
    set.Add({.id = kAudioExport,
             .caption = QCoreApplication::translate("FileCommands", "書き出し(&W)..."),
             .icon = "document-export",
             .prompt = QCoreApplication::translate(
                 "FileCommands", "曲やトラックごとの音声を WAV、FLAC、Ogg Vorbis、Opus "
                                 "ファイルに書き出します。\n書き出し"),
             .run = [&build] { build.ExportAudio(); },
             .enabled = [&build] { return build.CanExportAudio(); }});
}

} // namespace

void RegisterFileCommands(CCommandSet& set, CDocument& document, CBuildController& build,
                          QWidget& window) {
    AddDocumentCommands(set, document);
    AddBuildCommands(set, build);
    // Shown, disabled, only while the recent-file list is empty; the entries replace it.
    set.Add({.id = kRecentFile,
             .caption = QT_TRANSLATE_NOOP("Commands", "最近使ったファイル"),
             .icon = "document-open-recent",
             .prompt = QT_TRANSLATE_NOOP("Commands",
                                         "最近使ったプロジェクトを開きます。\n最近使ったファイル"),
             .run = [] {},
             .enabled = [] { return false; }});
    set.Add({.id = kAppExit,
             .caption = QT_TRANSLATE_NOOP("Commands", "終了(&X)"),
             .icon = "application-exit",
             .prompt = QT_TRANSLATE_NOOP("Commands", "アプリケーションを終了します。\n終了"),
             .run = [&window] { window.close(); }});
}
