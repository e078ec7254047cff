// Runs the tests of the application's audio export, encoder and file-association dialogs in one
// process, with private settings, desktop folders, temporary folder and the silent audio device.

#include "UiTestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

std::unique_ptr<QObject> MakeAudioExportTest();
std::unique_ptr<QObject> MakeEncoderDialogsTest();
std::unique_ptr<QObject> MakeRegisterFileTypeTest();

int main(int argc, char** argv) {
    QTemporaryDir home;
    UsePrivateHome(home);
    QApplication application(argc, argv);
    UsePrivateSettings(home);
    int failed = 0;
    for (auto* make : {MakeAudioExportTest, MakeEncoderDialogsTest, MakeRegisterFileTypeTest}) {
        std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
