// Runs every test class of the editor window in one process, with private settings,
// temporary folder and the silent audio device; every edit is checked against the song's
// invariants.

#include "EditTestHooks.h"
#include "UiTests.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("TSQ_AUDIO_DEVICE", "null");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    qputenv("TMPDIR", home.filePath("tmp").toUtf8());
    QDir().mkpath(home.filePath("tmp"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CheckInvariantsAfterEveryStep();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("config"));
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
