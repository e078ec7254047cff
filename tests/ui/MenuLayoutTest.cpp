// The menus, pop-up menus, tool bars and keys of the editor window as the user meets them,
// written out as text and compared with tests/data/ui/frame-menus.txt: every command's
// caption, keys, icon, prompts, its place in every menu and bar, and whether it is enabled
// and checked in a few typical states. Run with TSQ_WRITE_MENUS=1 to rewrite the file after
// a deliberate change, then review the diff.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "ui/CBuildController.h"
#include "ui/CDocument.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CRecentFiles.h"
#include "ui/CommandIds.h"
#include "ui/bars/CNoteBar.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCryptographicHash>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <span>

namespace {

const QString kReference = QStringLiteral(TSQ_TEST_DATA "/ui/frame-menus.txt");

// Icons are told apart by their pictures: the same picture, the same name.
QString IconText(const QIcon& icon) {
    if (icon.isNull())
        return QStringLiteral("-");
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    const QByteArray bits(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    return QString::fromLatin1(QCryptographicHash::hash(bits, QCryptographicHash::Md5).toHex())
        .left(8);
}

QString Keys(const QList<QKeySequence>& keys) {
    QStringList texts;
    for (const QKeySequence& key : keys)
        texts << key.toString(QKeySequence::PortableText);
    return texts.join(QStringLiteral(", "));
}

// One line per item as a menu or bar shows it, in the state the window is in.
QString StateText(const QAction* action) {
    QStringList flags;
    flags << (action->isEnabled() ? "on" : "off");
    if (action->isCheckable())
        flags << (action->isChecked() ? "checked" : "unchecked");
    if (!action->isVisible())
        flags << "hidden";
    return flags.join(u' ');
}

void DumpMenu(const QMenu& menu, const QString& indent, QStringList& out) {
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            out << indent + "----" + (action->isVisible() ? "" : " hidden");
        } else if (action->menu() != nullptr) {
            out << indent + "> " + action->text() + " icon " + IconText(action->icon()) + " " +
                       StateText(action);
            DumpMenu(*action->menu(), indent + "    ", out);
        } else if (action->objectName().isEmpty()) {
            out << indent + action->text() + " " + StateText(action) + " status \"" +
                       action->statusTip() + "\"";
        } else {
            out << indent + action->text() + " [" + action->shortcut().toString() + "] " +
                       action->objectName() + " " + StateText(action);
        }
    }
}

void DumpBar(const QToolBar& bar, QStringList& out) {
    out << "bar " + bar.objectName() + " \"" + bar.windowTitle() + "\" " +
               (bar.isVisible() ? "shown" : "hidden");
    for (QAction* action : bar.actions()) {
        QWidget* widget = bar.widgetForAction(action);
        auto* button = qobject_cast<QToolButton*>(widget);
        if (action->isSeparator()) {
            out << "    ----";
        } else if (button != nullptr && button->defaultAction() == action) {
            out << "    button " + action->objectName() + " " + StateText(action);
            if (button->menu() != nullptr)
                DumpMenu(*button->menu(), "        ", out);
        } else if (button != nullptr) {
            out << "    held " + button->objectName() + " " + (button->isEnabled() ? "on" : "off") +
                       " icon " + IconText(button->icon()) + " tip \"" + button->toolTip() +
                       "\" status \"" + button->statusTip() + "\"";
        } else if (widget != nullptr) {
            out << "    widget " + QString::fromLatin1(widget->metaObject()->className());
        }
    }
}

// Every command the window knows, with what stays the same in every state.
void DumpCommands(const QWidget& window, QStringList& out) {
    QList<QAction*> actions = window.actions();
    std::sort(actions.begin(), actions.end(), [](const QAction* a, const QAction* b) {
        return a->data().toInt() < b->data().toInt();
    });
    out << "== commands";
    for (const QAction* action : actions)
        out << QStringLiteral("%1 \"%2\" keys [%3] icon %4 %5 status \"%6\" tip \"%7\"")
                   .arg(action->objectName(), action->text(), Keys(action->shortcuts()),
                        IconText(action->icon()),
                        action->isCheckable() ? QStringLiteral("checkable")
                                              : QStringLiteral("plain"),
                        action->statusTip(), action->toolTip());
}

// Opens a pane's context menu from the keyboard and writes it out.
void DumpContextMenu(const QString& name, QWidget& pane, QStringList& out) {
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(10, 10),
                            pane.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&pane, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
        out << "popup " + name + " missing";
        return;
    }
    out << "popup " + name;
    DumpMenu(*menu, "    ", out);
    menu->hide();
}

void DumpFullScreenItems(const QMenuBar& menuBar, QStringList& out) {
    const QWidget* corner = menuBar.cornerWidget(Qt::TopRightCorner);
    out << QStringLiteral("corner %1").arg(corner->isVisible() ? "shown" : "hidden");
    for (const QToolButton* button : corner->findChildren<QToolButton*>())
        out << "    " + button->objectName() + " \"" + button->text() + "\" tip \"" +
                   button->toolTip() + "\"";
}

// The commands every declared list names, sub-menus included.
void ListedIds(std::span<const MENU_ITEM> items, QSet<int>& ids) {
    for (const MENU_ITEM& item : items) {
        if (item.kind == MENU_ITEM::Kind::SubMenu)
            ListedIds(item.items, ids);
        else if (item.id != 0)
            ids.insert(item.id);
    }
}

QSet<int> AllListedIds() {
    QSet<int> ids;
    for (const MENU& menu : menu::kMenuBar)
        ListedIds(menu.items, ids);
    const std::span<const MENU_ITEM> lists[] = {
        menu::kFullScreenItems, menu::kTrackPopup, menu::kPianoRollPopup, menu::kBarsPopup,
        menu::kStandardBar,     menu::kPlayBar,    menu::kNoteBar};
    for (std::span<const MENU_ITEM> list : lists)
        ListedIds(list, ids);
    return ids;
}

} // namespace

class MenuLayoutTest : public FrameTestBase {
    Q_OBJECT
private:
    QStringList out;

    void DumpState(const QString& title, QWidget& focus) {
        focus.setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frame->UpdateCommandStates();
        out << "== " + title;
        for (const QAction* top : frame->menuBar()->actions()) {
            out << "menu " + top->text();
            DumpMenu(*top->menu(), "    ", out);
        }
        DumpContextMenu(QStringLiteral("TrackWnd"), frame->TrackWnd(), out);
        focus.setFocus(Qt::OtherFocusReason);
        frame->UpdateCommandStates();
        DumpContextMenu(QStringLiteral("PianoRollWnd"), frame->PianoRollWnd(), out);
        focus.setFocus(Qt::OtherFocusReason);
        frame->UpdateCommandStates();
        std::unique_ptr<QMenu> bars(static_cast<QMainWindow&>(*frame).createPopupMenu());
        out << "popup bars";
        DumpMenu(*bars, "    ", out);
        for (const QToolBar* bar : frame->findChildren<QToolBar*>())
            DumpBar(*bar, out);
        DumpFullScreenItems(*frame->menuBar(), out);
    }

    // A second track of another source kind, current and muted, a track on the clipboard
    // and two recent files.
    void EnterTrackState() {
        CEditController& edit = frame->Edit();
        edit.Edit(CEditController::kViewAll, [](CProject& project) {
            project.InsertTrack(1);
            project.tracks[1].settings.name = "PCM";
            project.tracks[1].settings.waveform = kPcm;
        });
        frame->TrackWnd().setCurrentRow(1);
        frame->TrackWnd().setFocus();
        QVERIFY(frame->RunCommand(cmd::kCopy));
        QVERIFY(frame->RunCommand(cmd::kTrackMute));
        QVERIFY(frame->RunCommand(cmd::kFitWhole + 6));
        CRecentFiles& recent = frame->Document().Recent();
        recent.Add(QStringLiteral("/songs/first.tqp"));
        recent.Add(QStringLiteral("/songs/a folder with a rather long name/and another "
                                  "one below it/R&B second.tqp"));
    }

    // Three notes, one of them selected and copied; the default length a quarter note.
    void EnterNoteState() {
        frame->Edit().ReplaceProject(MakeSong(3));
        frame->TrackWnd().Refresh();
        frame->PianoRollWnd().Refresh(true);
        frame->Edit().SelectNote(frame->Edit().Project().tracks[0].Notes().front(), true);
        frame->PianoRollWnd().setFocus();
        QVERIFY(frame->RunCommand(cmd::kCopy));
        QVERIFY(frame->RunCommand(cmd::kLengthWhole + 2));
        QVERIFY(frame->RunCommand(cmd::kFitDotted));
    }

private slots:
    void init() {
        QApplication::clipboard()->clear();
        QVERIFY(OpenFrame());
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
    }

    void cleanup() {
        CloseFrame();
        QApplication::clipboard()->clear();
    }

    // [GIVEN] the declared menus and bars  [THEN] each names a registered command, and
    // every registered command is reachable: listed somewhere, or by its keys
    void everyCommandIsRegisteredAndReachable() {
        const QSet<int> listed = AllListedIds();
        for (int id : listed)
            QVERIFY2(frame->Action(id) != nullptr, qPrintable(QString::number(id)));
        for (const QAction* action : frame->actions()) {
            const int id = action->data().toInt();
            QVERIFY2(listed.contains(id) || !action->shortcuts().isEmpty(),
                     qPrintable(action->objectName()));
        }
    }

    void menusBarsAndKeysStayAsTheyAre() {
        out.clear();
        DumpCommands(*frame, out);
        DumpState(QStringLiteral("new song, piano roll focused"), frame->PianoRollWnd());
        EnterTrackState();
        DumpState(QStringLiteral("two tracks, track list focused, PCM track muted"),
                  frame->TrackWnd());
        EnterNoteState();
        DumpState(QStringLiteral("one of three notes selected, notes on the clipboard"),
                  frame->PianoRollWnd());
        frame->Edit().Edit(CEditController::kViewAll, [&](CProject& project) {
            project = MakeSong(16);
            frame->Edit().MarkAll();
        });
        bool played = false;
        QVERIFY(AwaitBuild(
            frame->Builds(), [&] { frame->RunCommand(cmd::kPlay); }, &played));
        QVERIFY(played);
        frame->NoteBar().hide();
        QVERIFY(frame->RunCommand(cmd::kFullScreen));
        DumpState(QStringLiteral("playing, full screen, note bar hidden"), frame->PianoRollWnd());
        QVERIFY(frame->RunCommand(cmd::kStop));
        out << QString();
        const QString text = out.join(u'\n');

        if (qEnvironmentVariableIsSet("TSQ_WRITE_MENUS")) {
            QFile file(kReference);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text.toUtf8());
            QSKIP("reference rewritten");
        }
        QFile file(kReference);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(kReference));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
        const QStringList actual = text.split(u'\n');
        for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
            QVERIFY2(expected[i] == actual[i],
                     qPrintable(QStringLiteral("line %1:\n  expected: %2\n  actual:   %3")
                                    .arg(i + 1)
                                    .arg(expected[i], actual[i])));
        QCOMPARE(actual.size(), expected.size());
    }
};

std::unique_ptr<QObject> MakeMenuLayoutTest() {
    return std::make_unique<MenuLayoutTest>();
}

#include "MenuLayoutTest.moc"
