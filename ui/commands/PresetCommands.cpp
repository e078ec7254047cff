#include "ui/commands/FrameCommands.h"

#include "ui/CommandIds.h"
#include "ui/commands/CCommandSet.h"
#include "ui/presets/CPresetCommands.h"

#include <QCoreApplication>
#include <QWidget>

namespace {

using namespace cmd;

QString Tr(const char* text) {
    return QCoreApplication::translate("PresetCommands", text);
}

} // namespace

void RegisterPresetCommands(CCommandSet& set, CPresetCommands& presets, QWidget& browser) {
    set.Add({.id = kTrackPresetLoad,
             .caption = Tr("音色を読み込む(&I)…"),
             .icon = "document-open",
             .prompt = Tr("音色ファイルを選んで、現在のトラックの音色をその音色にします。\n"
                          "音色を読み込む"),
             .run = [&presets] { presets.LoadIntoCurrent(); },
             .enabled = [&presets] { return presets.HasCurrentTrack(); }});
    set.Add({.id = kTrackPresetSave,
             .caption = Tr("音色を保存(&S)…"),
             .icon = "document-save-as",
             .prompt = Tr("現在のトラックの音色を名前を付けて保存します。\n音色を保存"),
             .run = [&presets] { presets.SaveCurrent(); },
             .enabled = [&presets] { return presets.HasCurrentTrack(); }});
    set.Add({.id = kViewPresetBrowser,
             .caption = Tr("音色ブラウザ(&B)"),
             .icon = "track-sound",
             .prompt = Tr("音色ブラウザの表示と非表示を切り替えます。\n音色ブラウザ"),
             .kind = COMMAND::Kind::Check,
             .run = [&browser] { browser.setVisible(!browser.isVisible()); },
             .checked = [&browser] { return browser.isVisible(); }});
}
