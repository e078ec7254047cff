// How commands reach the part of the window that carries them out: the first routed set
// that holds a command decides whether it is enabled, runs it and checks it; a set that is
// not routed (the track list without the focus) is passed over; a suspended registry (a
// build running) enables nothing; each command is described once for the menus; and keys
// without a menu item find their command.

#include "ui/commands/CCommandRegistry.h"

#include <QTest>

#include <memory>

namespace {

constexpr int kShared = 1; // held by the pane and the frame, as "コピー" is
constexpr int kFrameOnly = 2;
constexpr int kPaneOnly = 3;
constexpr int kUnknown = 4;

// One part of the window: its set counts the runs of each command it holds.
struct Part {
    CCommandSet set;
    bool enabled = true;
    int runs = 0;

    void Hold(int id, const char* caption = "") {
        set.Add({.id = id,
                 .caption = caption,
                 .run = [this] { ++runs; },
                 .enabled = [this] { return enabled; },
                 .checked = [this] { return enabled; }});
    }
};

} // namespace

class CommandRegistryTest : public QObject {
    Q_OBJECT
private:
    Part pane;
    Part frame;
    bool paneRouted = true;
    bool suspended = false;
    std::unique_ptr<CCommandRegistry> registry;

private slots:
    void init() {
        pane = {};
        frame = {};
        paneRouted = true;
        suspended = false;
        pane.Hold(kShared);
        pane.Hold(kPaneOnly, "ペイン(&P)");
        frame.Hold(kShared, "共有(&S)\tCtrl+S");
        frame.Hold(kFrameOnly, "フレーム(&F)");
        registry = std::make_unique<CCommandRegistry>();
        registry->AddTarget(pane.set, [this] { return paneRouted; });
        registry->AddTarget(frame.set);
        registry->SetSuspended([this] { return suspended; });
    }

    void theFirstRoutedHolderDecides_data() {
        QTest::addColumn<bool>("routed");
        QTest::addColumn<bool>("paneEnabled");
        QTest::addColumn<bool>("frameEnabled");
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("paneRuns");
        QTest::addColumn<int>("frameRuns");
        // [GIVEN] the routing  [WHEN] the command runs  [THEN] who answered and who ran
        QTest::newRow("routed pane takes a shared command")
            << true << true << false << kShared << true << 1 << 0;
        QTest::newRow("routed pane's refusal stands")
            << true << false << true << kShared << false << 0 << 0;
        QTest::newRow("pane not routed: the frame")
            << false << false << true << kShared << true << 0 << 1;
        QTest::newRow("pane not routed: its own command is off")
            << false << true << true << kPaneOnly << false << 0 << 0;
        QTest::newRow("frame command while the pane is routed")
            << true << true << true << kFrameOnly << true << 0 << 1;
        QTest::newRow("a command no one holds")
            << true << true << true << kUnknown << false << 0 << 0;
    }

    void theFirstRoutedHolderDecides() {
        QFETCH(bool, routed);
        QFETCH(bool, paneEnabled);
        QFETCH(bool, frameEnabled);
        QFETCH(int, id);
        QFETCH(bool, enabled);
        QFETCH(int, paneRuns);
        QFETCH(int, frameRuns);
        paneRouted = routed;
        pane.enabled = paneEnabled;
        frame.enabled = frameEnabled;
        QCOMPARE(registry->IsEnabled(id), enabled);
        QCOMPARE(registry->Checked(id), id == kUnknown || (!routed && id == kPaneOnly)
                                            ? std::nullopt
                                            : std::optional<bool>(enabled));
        QCOMPARE(registry->Run(id), enabled);
        QCOMPARE(pane.runs, paneRuns);
        QCOMPARE(frame.runs, frameRuns);
    }

    // [GIVEN] a build running  [THEN] nothing is enabled or runs; check marks still show
    void aSuspendedRegistryRunsNothing() {
        suspended = true;
        for (int id : {kShared, kFrameOnly, kPaneOnly}) {
            QVERIFY(!registry->IsEnabled(id));
            QVERIFY(!registry->Run(id));
            QCOMPARE(registry->Checked(id), std::optional<bool>(true));
        }
        QCOMPARE(pane.runs + frame.runs, 0);
        suspended = false;
        QVERIFY(registry->Run(kFrameOnly));
        QCOMPARE(frame.runs, 1);
    }

    // A pane driven alone answers for its own commands only; a disabled one is its own
    // (so it is not passed on) but does not run.
    void aSetAloneAnswersForItsOwnCommands() {
        QCOMPARE(pane.set.Enabled(kFrameOnly), std::nullopt);
        QVERIFY(!pane.set.Run(kFrameOnly));
        pane.enabled = false;
        QCOMPARE(pane.set.Enabled(kShared), std::optional<bool>(false));
        QVERIFY(pane.set.Run(kShared));
        QCOMPARE(pane.runs, 0);
        CCommandSet plain;
        plain.Add({.id = kUnknown, .run = [] {}});
        QCOMPARE(plain.Enabled(kUnknown), std::optional<bool>(true));
        QCOMPARE(plain.Checked(kUnknown), std::nullopt);
    }

    // The menus get one action per described command, whichever sets carry it out.
    void eachCommandIsDescribedOnce() {
        QStringList captions;
        for (const COMMAND* command : registry->Described())
            captions << command->caption;
        QCOMPARE(captions, (QStringList{"ペイン(&P)", "共有(&S)\tCtrl+S", "フレーム(&F)"}));
    }

    // Keys of commands without a menu item (the note bar's boxes) are looked up as pressed;
    // a described command's keys belong to its action.
    void keysWithoutAMenuItemFindTheirCommand() {
        frame.set.Add({.id = 10, .keys = Keys(Qt::ALT | Qt::Key_F), .run = [] {}});
        frame.set.Add({.id = 11, .caption = "x", .keys = Keys(Qt::ALT | Qt::Key_G), .run = [] {}});
        QCOMPARE(registry->KeyCommand(Qt::ALT | Qt::Key_F), 10);
        QCOMPARE(registry->KeyCommand(Qt::ALT | Qt::Key_G), 0);
        QCOMPARE(registry->KeyCommand(QKeyCombination(Qt::Key_F)), 0);
        QCOMPARE(registry->KeyCommand(Qt::ALT | Qt::SHIFT | Qt::Key_F), 0);
    }

    void captionsGiveMenuTextsAndTips_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("menuText");
        QTest::addColumn<QString>("statusTip");
        QTest::addColumn<QString>("toolTip");
        auto row = [](const char* name, const char* caption, const char* prompt,
                      const char* menuText, const char* statusTip, const char* toolTip) {
            QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromUtf8(prompt)
                                << QString::fromUtf8(menuText) << QString::fromUtf8(statusTip)
                                << QString::fromUtf8(toolTip);
        };
        row("prompt with a tip", "再生(&P)\tF5", "Wave サウンドファイルを再生します。\n再生 (F5)",
            "再生(&P)", "Wave サウンドファイルを再生します。", "再生 (F5)");
        row("tip from the caption", "開く(&O)...\tCtrl+O", "既存のプロジェクトを開きます。",
            "開く(&O)...", "既存のプロジェクトを開きます。", "開く");
        row("mnemonic in front", "&3連符", "", "&3連符", "", "3連符");
    }

    void captionsGiveMenuTextsAndTips() {
        QFETCH(QString, caption);
        QFETCH(QString, prompt);
        const COMMAND command{.id = 1, .caption = caption, .prompt = prompt};
        QTEST(command.MenuText(), "menuText");
        QTEST(command.StatusTip(), "statusTip");
        QTEST(command.ToolTip(), "toolTip");
    }

    void keysAreWrittenAsCombinations() {
        const QList<QKeySequence> keys = Keys(Qt::CTRL | Qt::SHIFT | Qt::Key_B, Qt::Key_F7);
        QCOMPARE(keys, (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+B")),
                                            QKeySequence(QStringLiteral("F7"))}));
    }
};

std::unique_ptr<QObject> MakeCommandRegistryTest() {
    return std::make_unique<CommandRegistryTest>();
}

#include "CommandRegistryTest.moc"
