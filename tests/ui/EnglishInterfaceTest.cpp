// The editor in English: with the English catalogue loaded, the window — menus, pop-up
// menus, bars, panes, status bar — and every dialog show no Japanese text, which catches a
// text that is not wrapped for translation as well as one left untranslated; and every menu
// gives each of its items a mnemonic letter of its own.

#include "InterfaceTexts.h"
#include "UiTestSupport.h"

#include "app/CAudioExportDialog.h"
#include "app/CEncodeDialog.h"
#include "app/CEncodeProgressDialog.h"
#include "app/CFileTypeRegistry.h"
#include "app/CRegisterFileTypeDialog.h"
#include "audio/CEncode.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CAdjustDialog.h"
#include "dialogs/CBeatDialog.h"
#include "dialogs/CBeatListDialog.h"
#include "dialogs/CFMDialog.h"
#include "dialogs/CFindDialog.h"
#include "dialogs/CJumpDialog.h"
#include "dialogs/CLFODialog.h"
#include "dialogs/CLoopDialog.h"
#include "dialogs/CMeasureDialog.h"
#include "dialogs/CNoteDialog.h"
#include "dialogs/COptionsDialog.h"
#include "dialogs/CPCMDialog.h"
#include "dialogs/CPresetSaveDialog.h"
#include "dialogs/CProjectDialog.h"
#include "dialogs/CSplitDialog.h"
#include "dialogs/CTempoDialog.h"
#include "dialogs/CTempoListDialog.h"
#include "dialogs/CTrackDialog.h"
#include "dialogs/CVolumeDialog.h"
#include "dialogs/CVolumeListDialog.h"
#include "dialogs/CWaveMemoryDialog.h"
#include "ui/CBuildProgressDialog.h"
#include "ui/CMainFrame.h"
#include "ui/CommandIds.h"
#include "ui/widgets/InterfaceLanguage.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Shows a window, as the user would see it, and lists its Japanese texts.
QStringList ShownJapanese(QWidget& window) {
    window.show();
    QStringList found =
        QTest::qWaitForWindowExposed(&window)
            ? JapaneseTexts(window)
            : QStringList{window.metaObject()->className() + QStringLiteral(" was not shown")};
    window.close();
    return found;
}

} // namespace

class EnglishInterfaceTest : public FrameTestBase {
    Q_OBJECT

private slots:
    void init() { QVERIFY(OpenFrame()); }
    void cleanup() { CloseFrame(); }

    // [GIVEN] the editor window in English [THEN] no widget, action, menu, tool tip or
    // status-bar prompt of it reads Japanese
    void windowShowsNoJapanese() {
        const QStringList found = JapaneseTexts(*frame);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    // [GIVEN] every menu of the window, pop-up menus and submenus included [THEN] no two
    // items of one menu share a mnemonic letter
    void mnemonicsDifferWithinEachMenu() {
        const QList<QMenu*> menus = frame->findChildren<QMenu*>();
        QVERIFY(menus.size() >= 12);
        QStringList duplicates;
        for (const QMenu* menu : menus)
            duplicates << DuplicateMnemonics(*menu);
        QVERIFY2(duplicates.isEmpty(), qPrintable(duplicates.join(u'\n')));
    }

    // [GIVEN] no manual beside the program [WHEN] help is asked for [THEN] the message
    // saying where it was looked for reads English
    void messagesReadEnglish() {
        frame->findChild<QAction*>(QStringLiteral("command%1").arg(cmd::kHelp))->trigger();
        QCOMPARE(prompts->shown.size(), 1);
        QVERIFY(prompts->shown[0].text.startsWith(QStringLiteral("The manual was not found.")));
    }

    // [GIVEN] each dialog of the editor [WHEN] shown [THEN] it reads no Japanese
    void dialogsShowNoJapanese() {
        const OPTIONS options;
        QSettings& settings = app->Profile();
        CEncode encode(app->Folder(), settings);
        const CFileTypeRegistry registry(QStringLiteral("/usr/bin/tsq"), QStringLiteral(".tqp"),
                                         QStringLiteral("project"), 1);
        const std::function<std::unique_ptr<QWidget>()> makers[] = {
            [] { return std::make_unique<CAboutDlg>(); },
            [] { return std::make_unique<CAdjustDialog>(CAdjustDialog::Kind::Position); },
            [] { return std::make_unique<CAdjustDialog>(CAdjustDialog::Kind::Length); },
            [] { return std::make_unique<CAdjustDialog>(CAdjustDialog::Kind::Volume); },
            [] { return std::make_unique<CBeatDialog>(); },
            [] { return std::make_unique<CBeatListDialog>(); },
            [&] { return std::make_unique<CFMDialog>(options); },
            [] { return std::make_unique<CFindDialog>(); },
            [] { return std::make_unique<CJumpDialog>(); },
            [] { return std::make_unique<CLFODialog>(); },
            [] { return std::make_unique<CLoopDialog>(); },
            [] { return std::make_unique<CMeasureDialog>(); },
            [] { return std::make_unique<CNoteDialog>(); },
            [] { return std::make_unique<COptionsDialog>(); },
            [&] { return std::make_unique<CPCMDialog>(options); },
            [] { return std::make_unique<CPresetSaveDialog>(); },
            [] { return std::make_unique<CProjectDialog>(); },
            [] { return std::make_unique<CSplitDialog>(); },
            [] { return std::make_unique<CTempoDialog>(); },
            [] { return std::make_unique<CTempoListDialog>(); },
            [] { return std::make_unique<CTrackDialog>(); },
            [] { return std::make_unique<CVolumeDialog>(); },
            [] { return std::make_unique<CVolumeListDialog>(); },
            [&] { return std::make_unique<CWaveMemoryDialog>(options, &settings); },
            [] { return std::make_unique<CAudioExportDialog>(true); },
            [&] { return std::make_unique<CEncodeDialog>(encode); },
            [&] { return std::make_unique<CEncodeProgressDialog>(frame.get()); },
            [&] { return std::make_unique<CBuildProgressDialog>(frame.get()); },
            [&] {
                return std::make_unique<CRegisterFileTypeDialog>(registry, QStringLiteral(".tqp"),
                                                                 *prompts);
            },
        };
        QStringList found;
        for (const auto& make : makers)
            found << ShownJapanese(*make());
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    UsePrivateHome(home);
    QApplication application(argc, argv);
    UsePrivateSettings(home);
    if (!InstallInterfaceLanguage(QLocale::English, QStringLiteral(TSQ_BINARY_DIR))) {
        std::fprintf(stderr, "the English catalogue is not built\n");
        return 1;
    }
    EnglishInterfaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EnglishInterfaceTest.moc"
