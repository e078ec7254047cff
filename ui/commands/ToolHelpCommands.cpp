#include "ui/commands/FrameCommands.h"

#include "ui/CBuildController.h"
#include "ui/CManualOpener.h"
#include "ui/CommandIds.h"
#include "ui/IAppServices.h"
#include "ui/commands/CCommandSet.h"

#include <QWidget>

namespace {

using namespace cmd;

void AddHelp(CCommandSet& set, IAppServices& app, CManualOpener& manual, QWidget& window) {
    set.Add({.id = kHelp,
             .caption = QT_TRANSLATE_NOOP("Commands", "ヘルプ(&H)...\tF1"),
             .keys = Keys(Qt::Key_F1),
             .icon = "help-contents",
             .prompt = QT_TRANSLATE_NOOP("Commands", "操作の説明を表示します。\nヘルプ (F1)"),
             .run = [&manual] { manual.Open(); }});
    set.Add({.id = kAbout,
             .caption = QT_TRANSLATE_NOOP("Commands", "バージョン情報(&A)..."),
             .icon = "help-about",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "プログラムの情報、バージョン、著作権を表示します。\nバージョン情報"),
             .run = [&app, &manual, &window] {
                 if (app.ShowAbout(&window))
                     manual.Open();
             }});
}

} // namespace

void RegisterToolAndHelpCommands(CCommandSet& set, IAppServices& app, CBuildController& build,
                                 CManualOpener& manual, QWidget& window,
                                 std::function<void()> refreshPanes) {
    set.Add(
        {.id = kOptions,
         .caption = QT_TRANSLATE_NOOP("Commands", "オプション(&O)..."),
         .icon = "preferences-system",
         .prompt = QT_TRANSLATE_NOOP("Commands", "エディタの動作と表示を設定します。\nオプション"),
         .run = [&app, &window, refreshPanes] {
             if (app.EditOptions(&window))
                 refreshPanes();
         }});
    set.Add(
        {.id = kDefaultProject,
         .caption = QT_TRANSLATE_NOOP("Commands", "既定のプロジェクトの設定(&D)..."),
         .icon = "project-default",
         .prompt = QT_TRANSLATE_NOOP(
             "Commands", "新しいプロジェクトの既定の設定を変更します。\n既定のプロジェクトの設定"),
         .run = [&app, &window] { app.EditDefaultProject(&window); }});
    set.Add({.id = kEncoderOptions,
             .caption = QT_TRANSLATE_NOOP("Commands", "エンコード オプション(&E)..."),
             .icon = "encoder-options",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "MP3 エンコーダとビットレートを設定します。\nエンコード オプション"),
             .run = [&app, &window] { app.EditEncoderOptions(&window); },
             .enabled = [&app] { return app.CanEditEncoderOptions(); }});
    set.Add({.id = kAssociate,
             .caption = QT_TRANSLATE_NOOP("Commands", "プロジェクトファイルの関連付け(&P)..."),
             .icon = "associate",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "プロジェクトファイルをこのエディタに関連付けます。\n関連付け"),
             .run = [&app, &window] { app.RegisterFileType(&window); },
             .enabled = [&app] { return app.CanRegisterFileType(); }});
    set.Add({.id = kOpenProjectFolder,
             .caption = QT_TRANSLATE_NOOP("Commands", "プロジェクトの保存先を開く(&J)"),
             .icon = "folder-open",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands",
                 "プロジェクトファイルの保存先のフォルダを開きます。\nプロジェクトの保存先を開く"),
             .run = [&build] { build.OpenProjectFolder(); },
             .enabled = [&build] { return build.CanOpenProjectFolder(); }});
    AddHelp(set, app, manual, window);
}
