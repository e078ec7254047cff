// Runs the tests of the note commands, the track window, the command routing and the
// recorder in one process, with private settings and the offscreen platform; every edit is
// checked against the song's invariants.

#include "EditTestHooks.h"

#include <QApplication>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

std::unique_ptr<QObject> MakeCommandRegistryTest();
std::unique_ptr<QObject> MakeNoteCommandsTest();
std::unique_ptr<QObject> MakeNoteCommandsEditTest();
std::unique_ptr<QObject> MakeTrackWndTest();
std::unique_ptr<QObject> MakeRecorderTest();

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("TSQ_AUDIO_DEVICE", "null");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CheckInvariantsAfterEveryStep();
    // A first argument without a dash names the one test class to run.
    QByteArray only;
    std::vector<char*> args(argv, argv + argc);
    if (args.size() > 1 && args[1][0] != '-') {
        only = args[1];
        args.erase(args.begin() + 1);
    }
    int failed = 0;
    for (auto make : {MakeCommandRegistryTest, MakeNoteCommandsTest, MakeNoteCommandsEditTest,
                      MakeTrackWndTest, MakeRecorderTest}) {
        std::unique_ptr<QObject> test = make();
        if (only.isEmpty() || only == test->metaObject()->className())
            failed += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
    }
    return failed == 0 ? 0 : 1;
}
