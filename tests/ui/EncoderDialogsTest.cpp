// The encoder as the editor shows it: the "エンコード オプション" dialog with and without
// modules, and the "エンコード" command through the frame with the progress window and
// its abort button.

#include "../modules/ModuleTestSupport.h"
#include "UiTestSupport.h"

#include "app/CEncodeDialog.h"
#include "app/CEncodeProgressDialog.h"
#include "app/CEncoderBridge.h"
#include "app/CTSQApp.h"
#include "audio/CEncode.h"
#include "ui/CBuildController.h"
#include "ui/CMainFrame.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

CEncodeProgressDialog* ShownProgress() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<CEncodeProgressDialog*>(w); d != nullptr && d->isVisible())
            return d;
    }
    return nullptr;
}

} // namespace

class EncoderDialogsTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QSettings> settings;

    QString EmptyFolder() {
        const QString path = dir->filePath(QStringLiteral("no-modules"));
        QDir().mkpath(path);
        return path;
    }

    // A saved song of `notes` quarter notes open in a frame whose encoder loads its modules
    // from moduleFolder.
    struct FRAME {
        TestApp app;
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        std::unique_ptr<CMainFrame> frame;
    };
    std::unique_ptr<FRAME> OpenSong(const QString& moduleFolder, int notes) {
        auto f = std::make_unique<FRAME>();
        f->frame = std::make_unique<CMainFrame>(f->app, &f->prompts, &f->launcher);
        QSettings& profile = f->app.Profile();
        f->frame->Builds().SetEncoderFactory(
            [moduleFolder, &profile] { return CEncoderBridge::Make(moduleFolder, profile); });
        f->frame->ShowWindow(false);
        const QString path = f->app.Folder() + "/song.tqp";
        if (WriteSong(MakeSong(notes), path))
            f->frame->OpenFile(path);
        return f;
    }

private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        settings = std::make_unique<QSettings>(dir->filePath(QStringLiteral("s.ini")),
                                               QSettings::IniFormat);
    }
    void cleanup() {
        settings.reset();
        dir.reset();
    }

    void theEditorOffersTheEncoderOptionsAndTheFileAssociation() {
        ScriptedPrompts prompts;
        CTSQApp app(&prompts);
        QVERIFY(!app.Start({}).has_value());
        QVERIFY(app.Frame()->Action(cmd::kEncoderOptions)->isEnabled());
        QVERIFY(app.Frame()->Action(cmd::kAssociate)->isEnabled());
        app.Shutdown();
    }

    void withoutModulesTheDialogCannotBeAccepted() {
        CEncode encode(EmptyFolder(), *settings, {});
        CEncodeDialog dialog(encode);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("エンコード オプション"));
        QCOMPARE(Items(dialog.EncoderList()),
                 QStringList{QStringLiteral("エンコーダが見つかりません")});
        QVERIFY(!dialog.EncoderList()->isEnabled());
        QVERIFY(!dialog.OkButton()->isEnabled());
        QCOMPARE(Items(dialog.BitRateList()),
                 (QStringList{"64", "80", "96", "128", "160", "192", "256", "320"}));
        QCOMPARE(dialog.BitRateList()->currentText(), QStringLiteral("128"));
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!settings->contains(QStringLiteral("Encoder/Encoder")));
    }

    void theDialogListsTheLoadedModulesAndStoresTheChoiceOnOk() {
        settings->setValue(QStringLiteral("Encoder/Encoder"), 2);
        settings->setValue(QStringLiteral("Encoder/BitRate"), 192);
        CEncode encode(ModuleDirectory(), *settings, {});
        CEncodeDialog dialog(encode);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(Items(dialog.EncoderList()),
                 (QStringList{QStringLiteral("午後のこ～だ gogo.dll (*.mp3)"),
                              QStringLiteral("LAME lame_enc.dll (*.mp3)")}));
        QCOMPARE(dialog.EncoderList()->currentIndex(), 1);
        QCOMPARE(dialog.BitRateList()->currentText(), QStringLiteral("192"));
        dialog.EncoderList()->setFocus();
        QTest::keyClick(dialog.EncoderList(), Qt::Key_Up);
        dialog.BitRateList()->setFocus();
        QTest::keyClick(dialog.BitRateList(), Qt::Key_End);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(settings->value(QStringLiteral("Encoder/Encoder")).toInt(), 1);
        QCOMPARE(settings->value(QStringLiteral("Encoder/BitRate")).toInt(), 320);
    }

    void cancelStoresNothing() {
        CEncode encode(ModuleDirectory(), *settings, {});
        CEncodeDialog dialog(encode);
        dialog.show();
        dialog.BitRateList()->setCurrentIndex(0);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!settings->contains(QStringLiteral("Encoder/BitRate")));
    }

    void theEncodeCommandWithoutModulesSaysSo() {
        QVERIFY(CEncoderBridge::Make(EmptyFolder(), *settings) == nullptr);
        auto f = OpenSong(EmptyFolder(), 4);
        QVERIFY(
            AwaitBuild(f->frame->Builds(), [&] { QVERIFY(f->frame->RunCommand(cmd::kEncode)); }));
        QCOMPARE(f->prompts.Texts(), QStringList{QStringLiteral("エンコーダが見つかりません。")});
        QCOMPARE(f->prompts.shown.first().title, QStringLiteral("エンコード"));
        QVERIFY(QFileInfo::exists(f->app.Folder() + "/song.wav"));
        QVERIFY(!QFileInfo::exists(f->app.Folder() + "/song.mp3"));
        f->frame->close();
    }

    void theEncodeCommandWritesTheMp3BesideTheWav() {
        auto f = OpenSong(ModuleDirectory(), 8);
        QVERIFY(
            AwaitBuild(f->frame->Builds(), [&] { QVERIFY(f->frame->RunCommand(cmd::kEncode)); }));
        QVERIFY(f->prompts.shown.isEmpty());
        QVERIFY(QFileInfo(f->app.Folder() + "/song.mp3").size() > 0);
        QVERIFY(f->frame->isEnabled());
        QVERIFY(ShownProgress() == nullptr);
        f->frame->close();
    }

    void aBuildEncodesAfterwardsWhenTheOptionIsOn() {
        for (const int encodeAfterBuild : {0, 1}) {
            auto f = OpenSong(ModuleDirectory(), 4);
            f->app.options.buildEncode = encodeAfterBuild;
            QVERIFY(AwaitBuild(f->frame->Builds(),
                               [&] { QVERIFY(f->frame->RunCommand(cmd::kRebuild)); }));
            QVERIFY(QFileInfo::exists(f->app.Folder() + "/song.wav"));
            QCOMPARE(QFileInfo::exists(f->app.Folder() + "/song.mp3"), encodeAfterBuild == 1);
            QVERIFY(f->prompts.shown.isEmpty());
            f->frame->close();
        }
    }

    void theAbortButtonStopsTheEncodingAndKeepsThePart() {
        // Three minutes of sound take longer to encode than the first look at the window, even
        // on a fast machine: the click lands well before the end.
        constexpr int kSeconds = 180;
        const WAVE_FORMAT f = MakeFormat(2, 44100, 16, false);
        const QString wavPath = WriteFile(dir->filePath(QStringLiteral("long.wav")),
                                          PlainWav(f, SineSamples(f, kSeconds * 44100, 440.0)));
        settings->setValue(QStringLiteral("Encoder/Encoder"), 2);
        std::unique_ptr<IEncoder> encoder = CEncoderBridge::Make(ModuleDirectory(), *settings);
        QVERIFY(encoder != nullptr);
        QWidget mainWindow;
        mainWindow.show();
        bool clicked = false;
        bool mainDisabled = false;
        int barAtAbort = -1;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            CEncodeProgressDialog* progress = ShownProgress();
            if (clicked || progress == nullptr)
                return;
            QCOMPARE(progress->windowTitle(), QStringLiteral("エンコード"));
            mainDisabled = !mainWindow.isEnabled();
            barAtAbort = progress->Bar()->value();
            QTest::mouseClick(progress->AbortButton(), Qt::LeftButton);
            clicked = true;
            QVERIFY(!progress->AbortButton()->isEnabled());
        });
        poll.start(10);
        QVERIFY(encoder->Encode(wavPath, CProjectData{}, &mainWindow));
        QVERIFY(clicked);
        QVERIFY(mainDisabled);
        QVERIFY(barAtAbort >= 0 && barAtAbort < 1000);
        QVERIFY(mainWindow.isEnabled());
        const qint64 size = QFileInfo(dir->filePath(QStringLiteral("long.mp3"))).size();
        QVERIFY(size > 0);
        // The part is shorter than the whole song would be at 128 kbit/s.
        QVERIFY(size < kSeconds * 128000 / 8 * 9 / 10);
    }
};

std::unique_ptr<QObject> MakeEncoderDialogsTest() {
    return std::make_unique<EncoderDialogsTest>();
}

#include "EncoderDialogsTest.moc"
