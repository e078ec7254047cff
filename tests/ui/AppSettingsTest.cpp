// The application object and its settings: a first run writes every default, values
// survive a round trip, damaged values come back usable, and the "del" switch.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "app/CSettingsStore.h"
#include "app/CTSQApp.h"
#include "app/CTSQCommandLineInfo.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSplitter>
#include <QTest>

#include <cstring>
#include <unistd.h>

namespace {

QString SettingsFile() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ostrova", "Tesselaphon Editor")
        .fileName();
}

// Writes values straight into the settings file, as another version or a damaged disk
// might have left them.
void Store(const QList<std::pair<QString, QVariant>>& values) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Ostrova",
                       "Tesselaphon Editor");
    for (const auto& [key, value] : values)
        settings.setValue(key, value);
}

QVariant Stored(const QString& key) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Ostrova",
                       "Tesselaphon Editor");
    return settings.value(key);
}

// Runs the application once with the given arguments and answers.
std::unique_ptr<CTSQApp> Run(ScriptedPrompts* prompts, const QStringList& arguments = {}) {
    auto app = std::make_unique<CTSQApp>(prompts);
    app->Start(arguments);
    return app;
}

// The track list's width once the window is on screen and its events are handled.
int ShownTrackWidth(CTSQApp& app) {
    CMainFrame& frame = *app.Frame();
    if (!QTest::qWaitForWindowExposed(&frame))
        return -1;
    QTest::qWait(50);
    return frame.Splitter().sizes().value(0);
}

// Drags the handle between the track list and the piano roll `dx` pixels with the mouse.
void DragSplitter(QSplitter& splitter, int dx) {
    QSplitterHandle* handle = splitter.handle(1);
    const QPoint middle = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseMove(handle, middle + QPoint(dx, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, middle + QPoint(dx, 0));
}

} // namespace

class AppSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QFile::remove(SettingsFile());
        QVERIFY(SettingsFile().endsWith("Ostrova/Tesselaphon Editor.conf"));
    }

    void firstRunWritesTheDefaults() {
        auto app = Run(nullptr);
        QVERIFY(app->Frame() != nullptr);
        QVERIFY(app->Frame()->isVisible());
        app->Shutdown();
        QCOMPARE(Stored("Options/PianoRollZoomX").toInt(), 192);
        QCOMPARE(Stored("Options/NoteAdd").toInt(), 2);
        QCOMPARE(Stored("Options/crNote").toInt(), 0x0000FF);
        QCOMPARE(Stored("Options/BuildSaveIncremental").toInt(), 1);
        QCOMPARE(Stored("Playback/Live").toInt(), 1);
        QVERIFY(!Stored("Options/Live").isValid());
        const int threads = Stored("Options/BuildThreads").toInt();
        QVERIFY(threads >= 1 && threads <= 32);
        QCOMPARE(Stored("DefaultProject/Volume").toByteArray(), QByteArray("\x80\0\0\0", 4));
        QCOMPARE(Stored("DefaultProject/Tempo").toByteArray().size(), 8);
        QCOMPARE(Stored("DefaultProject/SamplesPerSec").toInt(), 44100);
        QCOMPARE(Stored("Settings/Volume").toInt(), 100);
        QCOMPARE(Stored("Settings/crCustom").toByteArray().size(), 64);
        QCOMPARE(Stored("Note/Fit").toInt(), 240);
        QVERIFY(Stored("Bar State/State").toByteArray().size() > 0);
        QVERIFY(Stored("Window State/Right").isValid());
    }

    void valuesSurviveARoundTrip() {
        auto app = Run(nullptr);
        app->Options().pianoRollZoomX = 384;
        app->Options().buildThreads = 3;
        app->Options().livePlayback = 0;
        app->Options().metronomeVolume = 20;
        app->Options().projectDefaultPath = "/tmp/ソング";
        app->CustomColors()[5] = 0x123456;
        app->Shutdown();
        Store({{"DefaultProject/Tempo",
                [] {
                    QByteArray bytes(8, '\0');
                    const double tempo = 97.5;
                    std::memcpy(bytes.data(), &tempo, 8);
                    return bytes;
                }()},
               {"DefaultProject/Name", QStringLiteral("既定の曲")}});
        app = Run(nullptr);
        QCOMPARE(app->Options().pianoRollZoomX, 384);
        QCOMPARE(app->Options().buildThreads, 3);
        QCOMPARE(app->Options().livePlayback, 0);
        QCOMPARE(app->Options().metronomeVolume, 20);
        QCOMPARE(Stored("Playback/MetronomeVolume").toInt(), 20);
        QCOMPARE(app->Options().projectDefaultPath, std::string("/tmp/ソング"));
        QCOMPARE(app->CustomColors()[5], 0x123456u);
        QCOMPARE(app->DefaultProject().tempos[0].tempo, 97.5);
        QCOMPARE(app->DefaultProject().name, std::string("既定の曲"));
        // A new song starts from the default project.
        QCOMPARE(app->Frame()->Edit().Project().data.tempos[0].tempo, 97.5);
        app->Shutdown();
    }

    void damagedValuesComeBackUsable() {
        Store({{"Options/BuildThreads", 99},
               {"Options/PianoRollZoomX", 0},
               {"Options/PianoRollZoomY", "twelve"},
               {"Options/NoteAdd", 1084},
               {"Options/ViewPortamento", 7},
               {"Playback/Live", 5},
               {"Playback/MetronomeVolume", 250},
               {"DefaultProject/Volume", QByteArray("ab")},
               {"DefaultProject/Tempo", QByteArray("abcd")},
               {"DefaultProject/BitsPerSample", 12},
               {"DefaultProject/SamplesPerSec", 500000},
               {"Settings/Volume", 150},
               {"Settings/crCustom", QByteArray(200, '\x7f')}});
        auto app = Run(nullptr);
        QCOMPARE(app->Options().buildThreads, 32);
        QCOMPARE(app->Options().pianoRollZoomX, 192);
        QCOMPARE(app->Options().pianoRollZoomY, 12);
        QCOMPARE(app->Options().noteAdd, 2);
        QCOMPARE(app->Options().viewPortamento, 1);
        QCOMPARE(app->Options().livePlayback, 1);
        QCOMPARE(app->Options().metronomeVolume, 100);
        QCOMPARE(app->DefaultProject().volumes[0].volume, 128);
        QCOMPARE(app->DefaultProject().tempos[0].tempo, 120.0);
        QCOMPARE(app->DefaultProject().bitsPerSample, 16);
        QCOMPARE(app->DefaultProject().samplesPerSec, 384000);
        QCOMPARE(app->Player().GetVolume(), 1.0);
        QCOMPARE(app->CustomColors()[15], 0x7f7f7fu);
        app->Shutdown();
        QCOMPARE(Stored("Settings/Volume").toInt(), 100);
        QCOMPARE(Stored("Options/BuildThreads").toInt(), 32);
        Store({{"Options/BuildThreads", 0}, {"Options/NoteAdd", 1}});
        app = Run(nullptr);
        QCOMPARE(app->Options().buildThreads, 1);
        QCOMPARE(app->Options().noteAdd, 1);
        app->Shutdown();
    }

    void delSwitchYesRemovesTheSettings() {
        Run(nullptr)->Shutdown();
        QVERIFY(QFile::exists(SettingsFile()));
        ScriptedPrompts prompts;
        prompts.answers = {IUserPrompts::Answer::Yes};
        auto app = std::make_unique<CTSQApp>(&prompts);
        QCOMPARE(app->Start({"/DEL"}), std::optional<int>(0));
        QVERIFY(app->Frame() == nullptr);
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown.first().text, QStringLiteral("設定情報を削除しますか？"));
        QCOMPARE(prompts.shown.first().buttons, IUserPrompts::Buttons::YesNo);
        app->Shutdown();
        QVERIFY(!QFile::exists(SettingsFile()));
    }

    void delSwitchNoKeepsTheSettings() {
        Store({{"Options/PianoRollZoomX", 512}});
        ScriptedPrompts prompts;
        prompts.answers = {IUserPrompts::Answer::No};
        auto app = std::make_unique<CTSQApp>(&prompts);
        QCOMPARE(app->Start({"-del"}), std::optional<int>(0));
        QVERIFY(app->Frame() == nullptr);
        app->Shutdown();
        QVERIFY(QFile::exists(SettingsFile()));
        QCOMPARE(Stored("Options/PianoRollZoomX").toInt(), 512);
    }

    void commandLineNamesAFile() {
        CTSQCommandLineInfo info;
        info.Parse({"-reverse", "/home/u/song.tqp", "-Del", "second.tqp"});
        QVERIFY(info.deleteSettings);
        QCOMPARE(info.fileName, QStringLiteral("/home/u/song.tqp"));
        CTSQCommandLineInfo plain;
        plain.Parse({"del"});
        QVERIFY(!plain.deleteSettings);
        QCOMPARE(plain.fileName, QStringLiteral("del"));
    }

    // [GIVEN] empty settings [WHEN] the editor starts, shows and quits [THEN] the track list
    // opens 200 pixels wide and is stored so; dragged to 228 it comes back as 228, also in a
    // maximized window, and with "RestoreWindow" off it starts at 200 again
    void trackListWidthSurvivesARestart() {
        auto app = Run(nullptr);
        QCOMPARE(ShownTrackWidth(*app), 200);
        DragSplitter(app->Frame()->Splitter(), 28);
        QCOMPARE(app->Frame()->Splitter().sizes().value(0), 228);
        app->Shutdown();
        QCOMPARE(Stored("Window State/TrackWndWidth").toInt(), 228);

        app = Run(nullptr);
        QCOMPARE(ShownTrackWidth(*app), 228);
        app->Shutdown();
        QCOMPARE(Stored("Window State/TrackWndWidth").toInt(), 228);

        Store({{"Window State/Maximized", 1}});
        app = Run(nullptr);
        QCOMPARE(ShownTrackWidth(*app), 228);
        app->Shutdown();
        QCOMPARE(Stored("Window State/TrackWndWidth").toInt(), 228);

        Store({{"Options/RestoreWindow", 0}});
        app = Run(nullptr);
        QCOMPARE(ShownTrackWidth(*app), 200);
        app->Shutdown();
    }

    void startOpensTheFileNamed() {
        QTemporaryDir dir;
        const QString path = dir.filePath("start.tqp");
        QVERIFY(WriteSong(MakeSong(3), path));
        auto app = Run(nullptr, {path});
        QCOMPARE(app->Frame()->Document().Path(), path);
        QCOMPARE(app->Frame()->windowTitle(), QStringLiteral("start.tqp - Tesselaphon Editor"));
        app->Shutdown();
    }

    void autosaveSecondsHasASectionOfItsOwn_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("read");
        QTest::newRow("missing") << QVariant() << 60;
        QTest::newRow("off") << QVariant(0) << 0;
        QTest::newRow("set") << QVariant(15) << 15;
        QTest::newRow("negative") << QVariant(-5) << 0;
        QTest::newRow("huge") << QVariant(999999) << 3600;
        QTest::newRow("text") << QVariant("soon") << 60;
    }
    void autosaveSecondsHasASectionOfItsOwn() {
        QFETCH(QVariant, stored);
        QFETCH(int, read);
        if (stored.isValid())
            Store({{"Recovery/AutosaveSeconds", stored}});
        auto app = Run(nullptr);
        QCOMPARE(app->Options().autosaveSeconds, read);
        app->Shutdown();
        QCOMPARE(Stored("Recovery/AutosaveSeconds").toInt(), read);
        QVERIFY(!Stored("Options/AutosaveSeconds").isValid());
    }

    void languageHasASectionOfItsOwn_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("read");
        QTest::addColumn<QString>("written");
        QTest::newRow("missing") << QVariant() << 0 << "auto";
        QTest::newRow("Japanese") << QVariant("ja") << 1 << "ja";
        QTest::newRow("English") << QVariant("en") << 2 << "en";
        QTest::newRow("unknown") << QVariant("klingon") << 0 << "auto";
        QTest::newRow("number") << QVariant(2) << 0 << "auto";
    }
    // [GIVEN] "Interface"/"Language" as stored [WHEN] the editor starts and quits [THEN] the
    // options hold the choice, anything unknown as automatic, and it is written back so
    void languageHasASectionOfItsOwn() {
        QFETCH(QVariant, stored);
        QFETCH(int, read);
        QFETCH(QString, written);
        if (stored.isValid())
            Store({{"Interface/Language", stored}});
        auto app = Run(nullptr);
        QCOMPARE(app->Options().interfaceLanguage, read);
        app->Shutdown();
        QCOMPARE(Stored("Interface/Language").toString(), written);
    }

    // [GIVEN] "--lang en" before or after the file [WHEN] the editor reads its line [THEN]
    // "en" names no file
    void languageWordIsNoFileName() {
        for (const QStringList& words :
             {QStringList{"--lang", "en", "song.tqp"}, QStringList{"song.tqp", "--lang", "ja"}}) {
            CTSQCommandLineInfo info;
            info.Parse(words);
            QCOMPARE(info.fileName, QStringLiteral("song.tqp"));
        }
    }

    // The settings folder on a small file system that is full when the program ends.
    void aFullDiskKeepsTheOldSettingsAndSaysSo() {
        const QString folder = QFileInfo(SettingsFile()).absolutePath();
        QDir().mkpath(folder);
        if (::geteuid() != 0 ||
            QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) != 0)
            QSKIP("cannot mount a small file system here");
        Store({{"Options/PianoRollZoomX", 384}});
        QFile settings(SettingsFile());
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray before = settings.readAll();
        settings.close();
        QFile filler(folder + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        filler.close();
        ScriptedPrompts prompts;
        auto app = Run(&prompts);
        app->Options().projectDefaultPath = std::string(8000, 'p');
        app->Shutdown();
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray after = settings.readAll();
        settings.close();
        QProcess::execute("umount", {folder});
        QCOMPARE(after, before);
        QVERIFY(prompts.Texts().join('\n').contains(QStringLiteral("の保存に失敗しました")));
    }
};

std::unique_ptr<QObject> MakeAppSettingsTest() {
    return std::make_unique<AppSettingsTest>();
}

#include "AppSettingsTest.moc"
