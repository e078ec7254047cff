#include "ui/commands/FrameCommands.h"

#include "ui/CEditController.h"
#include "ui/CommandIds.h"
#include "ui/commands/CCommandSet.h"

#include <QMainWindow>

namespace {

using namespace cmd;

void AddBarToggle(CCommandSet& set, int id, QWidget& bar, const char* caption, const char* icon,
                  const char* prompt) {
    set.Add({.id = id,
             .caption = caption,
             .icon = icon,
             .prompt = prompt,
             .kind = COMMAND::Kind::Check,
             .run = [&bar] { bar.setVisible(!bar.isVisible()); },
             .checked = [&bar] { return bar.isVisible(); }});
}

void AddBarToggles(CCommandSet& set, const FRAME_VIEW& view) {
    AddBarToggle(set, kViewStandardBar, view.standardBar,
                 QT_TRANSLATE_NOOP("Commands", "標準バー(&T)"), "bar-standard",
                 QT_TRANSLATE_NOOP("Commands", "標準バーの表示と非表示を切り替えます。\n標準バー"));
    AddBarToggle(set, kViewPlayBar, view.playBar, QT_TRANSLATE_NOOP("Commands", "再生バー(&P)"),
                 "bar-play",
                 QT_TRANSLATE_NOOP("Commands", "再生バーの表示と非表示を切り替えます。\n再生バー"));
    AddBarToggle(set, kViewNoteBar, view.noteBar, QT_TRANSLATE_NOOP("Commands", "音符バー(&N)"),
                 "bar-note",
                 QT_TRANSLATE_NOOP("Commands", "音符バーの表示と非表示を切り替えます。\n音符バー"));
    AddBarToggle(set, kViewStatusBar, view.statusBar,
                 QT_TRANSLATE_NOOP("Commands", "ステータスバー(&S)"), "bar-status",
                 QT_TRANSLATE_NOOP("Commands",
                                   "ステータスバーの表示と非表示を切り替えます。\nステータスバー"));
}

// Tab and Shift+Tab both go to the other pane: there are two.
void AddPaneSwitches(CCommandSet& set, QWidget& trackWnd, QWidget& pianoRoll) {
    auto other = [&trackWnd, &pianoRoll] {
        if (trackWnd.hasFocus())
            pianoRoll.setFocus(Qt::TabFocusReason);
        else
            trackWnd.setFocus(Qt::TabFocusReason);
    };
    set.Add({.id = kNextPane,
             .caption = QT_TRANSLATE_NOOP("Commands", "次のペイン"),
             .keys = Keys(Qt::Key_Tab),
             .prompt = QT_TRANSLATE_NOOP("Commands", "次のペインに切り替えます。\n次のペイン"),
             .run = other});
    set.Add({.id = kPrevPane,
             .caption = QT_TRANSLATE_NOOP("Commands", "前のペイン"),
             .keys = Keys(Qt::SHIFT | Qt::Key_Backtab, Qt::Key_Backtab),
             .prompt = QT_TRANSLATE_NOOP("Commands", "前のペインに切り替えます。\n前のペイン"),
             .run = other});
}

} // namespace

void RegisterEditAndViewCommands(CCommandSet& set, CEditController& edit, const FRAME_VIEW& view) {
    set.Add(
        {.id = kUndo,
         .caption = QT_TRANSLATE_NOOP("Commands", "元に戻す(&U)\tCtrl+Z"),
         .keys = Keys(Qt::CTRL | Qt::Key_Z, Qt::ALT | Qt::Key_Backspace),
         .icon = "edit-undo",
         .prompt = QT_TRANSLATE_NOOP("Commands", "直前の操作を元に戻します。\n元に戻す (Ctrl+Z)"),
         .run = [&edit] { edit.Undo(); },
         .enabled = [&edit] { return edit.CanUndo(); }});
    set.Add({.id = kRedo,
             .caption = QT_TRANSLATE_NOOP("Commands", "やり直す(&R)\tCtrl+Y"),
             .keys = Keys(Qt::CTRL | Qt::Key_Y),
             .icon = "edit-redo",
             .prompt =
                 QT_TRANSLATE_NOOP("Commands", "元に戻した操作をやり直します。\nやり直す (Ctrl+Y)"),
             .run = [&edit] { edit.Redo(); },
             .enabled = [&edit] { return edit.CanRedo(); }});
    AddBarToggles(set, view);
    set.Add({.id = kFullScreen,
             .caption = QT_TRANSLATE_NOOP("Commands", "全画面表示(&F)\tF11"),
             .keys = Keys(Qt::Key_F11),
             .icon = "view-fullscreen",
             .prompt = QT_TRANSLATE_NOOP(
                 "Commands", "全画面表示と通常の表示を切り替えます。\n全画面表示 (F11)"),
             .run = view.toggleFullScreen});
    QMainWindow& window = view.window;
    set.Add({.id = kMinimize,
             .caption = QT_TRANSLATE_NOOP("Commands", "_"),
             .icon = "window-minimize",
             .prompt = QT_TRANSLATE_NOOP("Commands", "ウィンドウを最小化します。\n最小化"),
             .run = [&window] { window.showMinimized(); }});
    AddPaneSwitches(set, view.trackWnd, view.pianoRoll);
}
