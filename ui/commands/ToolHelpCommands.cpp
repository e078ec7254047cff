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
             .caption = "ヘルプ(&H)...\tF1",
             .keys = Keys(Qt::Key_F1),
             .icon = "help-contents",
             .prompt = "操作の説明を表示します。\nヘルプ (F1)",
             .run = [&manual] { manual.Open(); }});
    set.Add({.id = kAbout,
             .caption = "バージョン情報(&A)...",
             .icon = "help-about",
             .prompt = "プログラムの情報、バージョン、著作権を表示します。\nバージョン情報",
             .run = [&app, &manual, &window] {
                 if (app.ShowAbout(&window))
                     manual.Open();
             }});
}

} // namespace

void RegisterToolAndHelpCommands(CCommandSet& set, IAppServices& app, CBuildController& build,
                                 CManualOpener& manual, QWidget& window,
                                 std::function<void()> refreshPanes) {
    set.Add({.id = kOptions,
             .caption = "オプション(&O)...",
             .icon = "preferences-system",
             .prompt = "エディタの動作と表示を設定します。\nオプション",
             .run = [&app, &window, refreshPanes] {
                 if (app.EditOptions(&window))
                     refreshPanes();
             }});
    set.Add({.id = kDefaultProject,
             .caption = "既定のプロジェクトの設定(&D)...",
             .icon = "project-default",
             .prompt = "新しいプロジェクトの既定の設定を変更します。\n既定のプロジェクトの設定",
             .run = [&app, &window] { app.EditDefaultProject(&window); }});
    set.Add({.id = kEncoderOptions,
             .caption = "エンコード オプション(&E)...",
             .icon = "encoder-options",
             .prompt = "MP3 エンコーダとビットレートを設定します。\nエンコード オプション",
             .run = [&app, &window] { app.EditEncoderOptions(&window); },
             .enabled = [&app] { return app.CanEditEncoderOptions(); }});
    set.Add({.id = kAssociate,
             .caption = "プロジェクトファイルの関連付け(&P)...",
             .icon = "associate",
             .prompt = "プロジェクトファイルをこのエディタに関連付けます。\n関連付け",
             .run = [&app, &window] { app.RegisterFileType(&window); },
             .enabled = [&app] { return app.CanRegisterFileType(); }});
    set.Add(
        {.id = kOpenProjectFolder,
         .caption = "プロジェクトの保存先を開く(&J)",
         .icon = "folder-open",
         .prompt = "プロジェクトファイルの保存先のフォルダを開きます。\nプロジェクトの保存先を開く",
         .run = [&build] { build.OpenProjectFolder(); },
         .enabled = [&build] { return build.CanOpenProjectFolder(); }});
    AddHelp(set, app, manual, window);
}
