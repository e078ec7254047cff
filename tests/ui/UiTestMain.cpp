// Runs every test class of the editor window in one process, with private settings,
// temporary folder and the silent audio device; every edit is checked against the song's
// invariants.

#include "EditTestHooks.h"
#include "UiTestSupport.h"
#include "UiTests.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

int main(int argc, char** argv) {
    QTemporaryDir home;
    UsePrivateHome(home);
    QApplication application(argc, argv);
    CheckInvariantsAfterEveryStep();
    UsePrivateSettings(home);
    // A first argument without a dash names the one test class to run; the rest go to
    // QTest as usual ("tsq_ui_tests BuildPlayTest -v2").
    QByteArray only;
    std::vector<char*> args(argv, argv + argc);
    if (args.size() > 1 && args[1][0] != '-') {
        only = args[1];
        args.erase(args.begin() + 1);
    }
    int failed = 0;
    for (const auto& make : UiTestClasses()) {
        std::unique_ptr<QObject> test = make();
        if (only.isEmpty() || only == test->metaObject()->className())
            failed += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
    }
    return failed == 0 ? 0 : 1;
}
