// The manual behind F1 and the about box: the page handed to the desktop in the chosen
// language, the editor's own window when the desktop cannot open it, the message when there
// is no manual, and the manual the build writes. The shortcut tables of the manual's
// chapters are the window's own keys: a table that differs from the command table fails; run
// with TSQ_WRITE_MANUAL=1 to rewrite them after a deliberate change, then review the diff.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "ui/CMainFrame.h"
#include "ui/CManualOpener.h"
#include "ui/CManualWindow.h"
#include "ui/CommandIds.h"
#include "ui/ManualLocation.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTranslator>

#include <algorithm>

namespace {

const QString kBuildFolder = QStringLiteral(TSQ_BINARY_DIR);
const QString kManualSource = QStringLiteral(TSQ_MANUAL_SOURCE);
const QString kTableStart = QStringLiteral("<!-- shortcut table: written by the tests -->\n");
const QString kTableEnd = QStringLiteral("<!-- end of shortcut table -->\n");

// The words of one language of the table; `caption` gives a command's caption in it.
struct TABLE_LANGUAGE {
    QString folder;
    QString commandHeading;
    QString keysHeading;
    QString otherSection;
};

// A caption as the manual names it: no mnemonic, no dots that promise a dialog.
QString PlainCaption(QString text) {
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)"));
    text.remove(mnemonic);
    text.remove(u'&');
    text.remove(QRegularExpression(QStringLiteral("(\\.\\.\\.|…)$")));
    return text.trimmed();
}

QString KeysText(const QAction& action) {
    QStringList keys;
    for (const QKeySequence& key : action.shortcuts())
        keys << QStringLiteral("<kbd>%1</kbd>").arg(key.toString(QKeySequence::PortableText));
    return keys.join(QStringLiteral(", "));
}

void CollectKeyed(const QMenu& menu, QList<const QAction*>& out) {
    for (const QAction* action : menu.actions()) {
        if (action->menu() != nullptr)
            CollectKeyed(*action->menu(), out);
        else if (!action->shortcuts().isEmpty() && !out.contains(action))
            out << action;
    }
}

QString Section(const QString& title, const QList<const QAction*>& actions,
                const TABLE_LANGUAGE& language) {
    QString text = QStringLiteral("### %1\n\n| %2 | %3 |\n|---|---|\n")
                       .arg(title, language.commandHeading, language.keysHeading);
    for (const QAction* action : actions)
        text +=
            QStringLiteral("| %1 | %2 |\n").arg(PlainCaption(action->text()), KeysText(*action));
    return text + u'\n';
}

// One section per menu in the menu bar's order, then the keys no menu shows.
QString ShortcutTable(const QMainWindow& window, const TABLE_LANGUAGE& language) {
    QString table;
    QList<const QAction*> listed;
    for (const QAction* menu : window.menuBar()->actions()) {
        if (menu->menu() == nullptr)
            continue;
        QList<const QAction*> keyed;
        CollectKeyed(*menu->menu(), keyed);
        if (keyed.isEmpty())
            continue;
        table += Section(PlainCaption(menu->text()), keyed, language);
        listed += keyed;
    }
    QList<const QAction*> others;
    for (const QAction* action : window.actions())
        if (!action->shortcuts().isEmpty() && !listed.contains(action))
            others << action;
    std::sort(others.begin(), others.end(), [](const QAction* a, const QAction* b) {
        return a->data().toInt() < b->data().toInt();
    });
    if (!others.isEmpty())
        table += Section(language.otherSection, others, language);
    return table;
}

// The chapter with its table replaced; empty when the chapter has no table markers.
QString WithTable(const QString& chapter, const QString& table) {
    const qsizetype start = chapter.indexOf(kTableStart);
    const qsizetype end = chapter.indexOf(kTableEnd);
    if (start < 0 || end < start)
        return {};
    return chapter.left(start + kTableStart.size()) + u'\n' + table + chapter.mid(end);
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

QList<TABLE_LANGUAGE> TableLanguages() {
    return {{QStringLiteral("ja"), QStringLiteral("操作"), QStringLiteral("キー"),
             QStringLiteral("メニューにない操作")},
            {QStringLiteral("en"), QStringLiteral("Command"), QStringLiteral("Keys"),
             QStringLiteral("Keys outside the menus")}};
}

// A manual of one page per language in the program folder, as the build tree holds it.
QString PlaceManual(const QString& programFolder, const QString& language) {
    const QString folder = programFolder + QStringLiteral("/manual/") + language;
    QDir().mkpath(folder);
    QFile page(folder + QStringLiteral("/index.html"));
    if (!page.open(QIODevice::WriteOnly))
        return {};
    page.write("<html><body><h1>manual " + language.toUtf8() + "</h1></body></html>");
    return QFileInfo(page).absoluteFilePath();
}

} // namespace

class ManualTest : public FrameTestBase {
    Q_OBJECT
private slots:
    void init() { QVERIFY(OpenFrame()); }
    void cleanup() { CloseFrame(); }

    void f1HandsTheFrontPageToTheDesktop() {
        const QString ja = PlaceManual(app->ApplicationDirectory(), QStringLiteral("ja"));
        const QString en = PlaceManual(app->ApplicationDirectory(), QStringLiteral("en"));
        QTest::keyClick(frame.get(), Qt::Key_F1);
        QCOMPARE(launcher->calls, QStringList{"open " + ja});
        frame->Manual().SetLanguage(QStringLiteral("en_GB"));
        QTest::keyClick(frame.get(), Qt::Key_F1);
        QCOMPARE(launcher->calls.last(), "open " + en);
        QVERIFY(prompts->shown.isEmpty());
        QVERIFY(frame->Manual().Window() == nullptr);
    }

    void theAboutBoxOpensTheManualWhenAskedTo() {
        const QString ja = PlaceManual(app->ApplicationDirectory(), QStringLiteral("ja"));
        QVERIFY(frame->RunCommand(cmd::kAbout));
        QVERIFY(launcher->calls.isEmpty());
        app->aboutAsksForManual = true;
        QVERIFY(frame->RunCommand(cmd::kAbout));
        QCOMPARE(app->aboutShown, 2);
        QCOMPARE(launcher->calls, QStringList{"open " + ja});
    }

    void aDesktopWithoutABrowserGetsTheEditorsOwnWindow() {
        PlaceManual(app->ApplicationDirectory(), QStringLiteral("ja"));
        launcher->result = false;
        QVERIFY(frame->RunCommand(cmd::kHelp));
        CManualWindow* window = frame->Manual().Window();
        QVERIFY(window != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->Browser().toPlainText().trimmed(), QStringLiteral("manual ja"));
        // A second request brings the same window back.
        window->close();
        QVERIFY(frame->RunCommand(cmd::kHelp));
        QCOMPARE(frame->Manual().Window(), window);
        QVERIFY(window->isVisible());
        QVERIFY(prompts->shown.isEmpty());
    }

    void noManualSaysWhereItWasLookedFor() {
        QVERIFY(frame->RunCommand(cmd::kHelp));
        QCOMPARE(prompts->shown.size(), 1);
        QCOMPARE(prompts->shown[0].icon, IUserPrompts::Icon::Error);
        QVERIFY(prompts->shown[0].text.contains(
            QDir::toNativeSeparators(app->ApplicationDirectory() + "/manual")));
        QVERIFY(launcher->calls.isEmpty());
    }

    void theLanguageFolderFollowsTheInterfaceLanguage() {
        QCOMPARE(manuallocation::LanguageFolder("ja"), QStringLiteral("ja"));
        QCOMPARE(manuallocation::LanguageFolder("en"), QStringLiteral("en"));
        QCOMPARE(manuallocation::LanguageFolder("EN_us"), QStringLiteral("en"));
        QCOMPARE(manuallocation::LanguageFolder(""), QStringLiteral("ja"));
        QCOMPARE(manuallocation::LanguageFolder("de"), QStringLiteral("ja"));
        QVERIFY(manuallocation::IndexPage({}, "ja").isEmpty());
    }

    void theManualsShortcutTablesAreTheCommandTable() {
        const bool write = qEnvironmentVariableIntValue("TSQ_WRITE_MANUAL") == 1;
        // The English table comes from a window built with the English catalogue, as an
        // English desktop shows it.
        QTranslator english;
        QVERIFY(english.load(kBuildFolder + "/tsq_en.qm"));
        const auto removeEnglish =
            qScopeGuard([&english] { QCoreApplication::removeTranslator(&english); });
        for (const TABLE_LANGUAGE& language : TableLanguages()) {
            if (language.folder == QLatin1String("en")) {
                CloseFrame();
                QCoreApplication::installTranslator(&english);
                QVERIFY(OpenFrame());
            }
            const QString path = kManualSource + u'/' + language.folder + "/shortcuts.md";
            const QString chapter = ReadText(path);
            const QString expected = WithTable(chapter, ShortcutTable(*frame, language));
            QVERIFY2(!expected.isEmpty(), qPrintable(path + " has no table markers"));
            if (write)
                QVERIFY(WriteText(path, expected));
            else
                QVERIFY2(chapter == expected,
                         qPrintable(path + " differs from the command table; run the tests "
                                           "with TSQ_WRITE_MANUAL=1 and review the diff"));
        }
    }

    // The page the build writes, in the editor's own window: titled, with its contents
    // linked to the chapters and its pictures beside it.
    void theBuiltManualReadsInTheEditorsWindow() {
        for (const char* language : {"ja", "en"}) {
            const QString page = manuallocation::IndexPage(kBuildFolder, language);
            QVERIFY2(!page.isEmpty(), language);
            RecordingLauncher refusing;
            refusing.result = false;
            CManualOpener opener(refusing, *prompts, *frame, kBuildFolder);
            opener.SetLanguage(language);
            opener.Open();
            QTextBrowser& browser = opener.Window()->Browser();
            QVERIFY(browser.toHtml().contains(QLatin1String("href=\"#s1\"")));
            QVERIFY(browser.documentTitle().startsWith(QLatin1String("Tesselaphon Editor")));
            const QVariant picture = browser.loadResource(
                QTextDocument::ImageResource, QUrl(QStringLiteral("../images/main-window.png")));
            QVERIFY(!picture.toByteArray().isEmpty());
            delete opener.Window();
        }
        QVERIFY(prompts->shown.isEmpty());
    }
};

std::unique_ptr<QObject> MakeManualTest() {
    return std::make_unique<ManualTest>();
}

#include "ManualTest.moc"
