// Runs the tests of the application's encoder and file-association dialogs in one process,
// with private settings, desktop folders, temporary folder and the silent audio device.

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

std::unique_ptr<QObject> MakeEncoderDialogsTest();
std::unique_ptr<QObject> MakeRegisterFileTypeTest();

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
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("config"));
    int failed = 0;
    for (auto* make : {MakeEncoderDialogsTest, MakeRegisterFileTypeTest}) {
        std::unique_ptr<QObject> test = make();
        failed += QTest::qExec(test.get(), argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
