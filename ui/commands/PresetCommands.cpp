#include "ui/commands/FrameCommands.h"

#include "ui/CommandIds.h"
#include "ui/commands/CCommandSet.h"
#include "ui/presets/CPresetCommands.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

using namespace cmd;

} // namespace

void RegisterPresetCommands(CCommandSet& set, CPresetCommands& presets, QWidget& browser) {
    set.Add(
        {.id = kTrackPresetLoad,
         .caption = QCoreApplication::translate("PresetCommands", "音色を読み込む(&I)…"),
         .icon = "document-open",
         .prompt = QCoreApplication::translate(
             "PresetCommands", "音色ファイルを選んで、現在のトラックの音色をその音色にします。\n"
                               "音色を読み込む"),
         .run = [&presets] { presets.LoadIntoCurrent(); },
         .enabled = [&presets] { return presets.HasCurrentTrack(); }});
    set.Add({.id = kTrackPresetSave,
             .caption = QCoreApplication::translate("PresetCommands", "音色を保存(&S)…"),
             .icon = "document-save-as",
             .prompt = QCoreApplication::translate(
                 "PresetCommands", "現在のトラックの音色を名前を付けて保存します。\n音色を保存"),
             .run = [&presets] { presets.SaveCurrent(); },
             .enabled = [&presets] { return presets.HasCurrentTrack(); }});
    set.Add({.id = kViewPresetBrowser,
             .caption = QCoreApplication::translate("PresetCommands", "音色ブラウザ(&B)"),
             .icon = "track-sound",
             .prompt = QCoreApplication::translate(
                 "PresetCommands", "音色ブラウザの表示と非表示を切り替えます。\n音色ブラウザ"),
             .kind = COMMAND::Kind::Check,
             .run = [&browser] { browser.setVisible(!browser.isVisible()); },
             .checked = [&browser] { return browser.isVisible(); }});
}
