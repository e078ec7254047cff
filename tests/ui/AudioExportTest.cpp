// The editor's "書き出し": the dialog's choices and what they ask for, an export through
// the progress window that reports the files written, MP3 through the stored encoder (and
// the message without one), and "中止(&A)", which leaves no file behind.

#include "UiTestSupport.h"

#include "../modules/ModuleTestSupport.h"

#include "app/CAudioExportDialog.h"
#include "app/CAudioExportRunner.h"
#include "audio/CEncode.h"
#include "model/CProject.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A sine song of `seconds` seconds at 8000 Hz mono on two tracks, with a loop over the
// first half when asked.
CProject Song(int seconds, bool loop) {
    CProject p;
    p.Reset();
    p.data.channels = 1;
    p.data.samplesPerSec = 8000;
    p.InsertTrack(1);
    p.tracks[0].settings.name = "メロディ";
    p.tracks[1].settings.name = "ベース";
    for (CTrack& track : p.tracks)
        for (int s = 0; s < seconds; ++s) {
            CNote n;
            n.position = s * 960;
            n.length = 480;
            n.key = 40 + s % 7;
            track.AddNote(n);
        }
    p.data.loopEnabled = loop ? 1 : 0;
    p.data.loopStart = 0;
    p.data.loopEnd = seconds * 480;
    return p;
}

void Choose(QComboBox* list, int index) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(list, Qt::Key_Down);
}

} // namespace

class AudioExportTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTemporaryDir> settingsDir;
    std::unique_ptr<QSettings> settings;

    // The encoder modules of the build (or of an empty folder: none) over the test's
    // settings, which store a bit rate of 192.
    CAudioExportRunner::Mp3EncoderFactory Encoders(QString folder) {
        settingsDir = std::make_unique<QTemporaryDir>();
        settings = std::make_unique<QSettings>(settingsDir->filePath(QStringLiteral("s.ini")),
                                               QSettings::IniFormat);
        settings->setValue(QStringLiteral("Encoder/BitRate"), 192);
        return [this, folder] { return std::make_unique<CEncode>(folder, *settings, QString()); };
    }

    QString Save(const CProject& song, const QString& name) {
        const QString path = dir->filePath(name);
        song.Save(path.toStdString());
        return path;
    }

private slots:
    void init() { dir = std::make_unique<QTemporaryDir>(); }

    void DialogOffersWhatTheSongHas() {
        CAudioExportDialog plain(false);
        QCOMPARE(plain.WhatList()->count(), 2);
        CAudioExportDialog looped(true);
        looped.show();
        QCOMPARE(looped.WhatList()->count(), 3);
        QVERIFY(!looped.OkButton()->isEnabled());
        looped.FolderEdit()->setFocus();
        QTest::keyClicks(looped.FolderEdit(), "/tmp/out");
        QVERIFY(looped.OkButton()->isEnabled());

        QVERIFY(!looped.PassesBox()->isEnabled());
        QVERIFY(!looped.QualityBox()->isEnabled());
        Choose(looped.WhatList(), CAudioExportDialog::kLoop);
        Choose(looped.FormatList(), 2);
        QVERIFY(looped.PassesBox()->isEnabled());
        QVERIFY(looped.QualityBox()->isEnabled());
        looped.PassesBox()->setFocus();
        QTest::keyClick(looped.PassesBox(), Qt::Key_Up);
        const EXPORT_REQUEST request = looped.Request();
        QCOMPARE(request.kind, SoundFileKind::OggVorbis);
        QCOMPARE(request.loopPasses, 3);
        QCOMPARE(request.fadeMs, 5000);
        QCOMPARE(request.folder, std::string("/tmp/out"));
        QVERIFY(!request.stems);

        Choose(looped.WhatList(), CAudioExportDialog::kStems);
        QVERIFY(looped.Request().stems);
        QCOMPARE(looped.Request().loopPasses, 0);
    }

    void ExportWritesTheStemsAndSaysWhere() {
        const QString project = Save(Song(2, false), QStringLiteral("song.tqp"));
        CAudioExportRunner runner(1, {}, [](CAudioExportDialog& dialog) {
            Choose(dialog.WhatList(), CAudioExportDialog::kStems);
            Choose(dialog.FormatList(), 1);
            return true;
        });
        ScriptedPrompts prompts;
        runner.Export(Song(2, false), project, prompts, nullptr);
        QVERIFY(QFileInfo::exists(dir->filePath(QStringLiteral("song - メロディ.flac"))));
        QVERIFY(QFileInfo::exists(dir->filePath(QStringLiteral("song - ベース.flac"))));
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown[0].icon, IUserPrompts::Icon::Information);
        QVERIFY(prompts.shown[0].text.contains(QStringLiteral("song - ベース.flac")));
    }

    void Mp3OffersTheBitRatesAndOpensAtTheStoredOne() {
        const QString project = Save(Song(2, false), QStringLiteral("song.tqp"));
        QString opened;
        bool enabledForWav = true;
        bool qualityForMp3 = true;
        int chosen = 0;
        CAudioExportRunner runner(1, Encoders(ModuleDirectory()), [&](CAudioExportDialog& dialog) {
            enabledForWav = dialog.BitRateList()->isEnabled();
            Choose(dialog.FormatList(), 4);
            qualityForMp3 = dialog.QualityBox()->isEnabled();
            opened = dialog.BitRateList()->currentText();
            dialog.BitRateList()->setFocus();
            QTest::keyClick(dialog.BitRateList(), Qt::Key_Home);
            chosen = dialog.Request().bitRate;
            return true;
        });
        ScriptedPrompts prompts;
        runner.Export(Song(2, false), project, prompts, nullptr);
        QVERIFY(!enabledForWav);
        QVERIFY(!qualityForMp3);
        QCOMPARE(opened, QStringLiteral("192 kbps"));
        QCOMPARE(prompts.shown.size(), 1);
        QVERIFY2(prompts.shown[0].icon == IUserPrompts::Icon::Information,
                 qPrintable(prompts.Texts().join(u'\n')));
        QCOMPARE(chosen, 64);
        QVERIFY(QFileInfo::exists(dir->filePath(QStringLiteral("song.mp3"))));
        QStringList left = QDir(dir->path()).entryList(QDir::Files | QDir::Hidden);
        left.sort();
        QCOMPARE(left, (QStringList{QStringLiteral("song.mp3"), QStringLiteral("song.tqp")}));
    }

    void Mp3WithoutEncoderSaysSo() {
        const QTemporaryDir empty;
        const QString project = Save(Song(1, false), QStringLiteral("song.tqp"));
        CAudioExportRunner runner(1, Encoders(empty.path()), [](CAudioExportDialog& dialog) {
            Choose(dialog.FormatList(), 4);
            return true;
        });
        ScriptedPrompts prompts;
        runner.Export(Song(1, false), project, prompts, nullptr);
        QCOMPARE(prompts.Texts(), QStringList{QStringLiteral("エンコーダが見つかりません。")});
        QCOMPARE(prompts.shown[0].icon, IUserPrompts::Icon::Error);
        QVERIFY(!QFileInfo::exists(dir->filePath(QStringLiteral("song.mp3"))));
    }

    void RangeExportsTheSelectedNotesTime() {
        CProject song = Song(3, false);
        song.tracks[1].ForEachNote([&song](const CNote* n) {
            if (n->position >= 960)
                song.tracks[1].SelectNote(n, true);
        });
        const QString project = Save(song, QStringLiteral("song.tqp"));
        int offered = 0;
        CAudioExportRunner runner(1, {}, [&offered](CAudioExportDialog& dialog) {
            offered = dialog.WhatList()->count();
            Choose(dialog.WhatList(), CAudioExportDialog::kRange - 1);
            return true;
        });
        ScriptedPrompts prompts;
        runner.Export(song, project, prompts, nullptr);
        QCOMPARE(offered, 3);
        // Notes from 1 s to 2.5 s: 1.5 s at 8000 Hz, 16 bits, mono, after a 44-byte head.
        const QFileInfo file(dir->filePath(QStringLiteral("song (range).wav")));
        QVERIFY2(file.exists(), qPrintable(prompts.Texts().join(u'\n')));
        QCOMPARE(file.size(), 44 + 12000 * 2);
    }

    void FailureIsReported() {
        const QString project = Save(Song(1, false), QStringLiteral("song.tqp"));
        CAudioExportRunner runner(1, {}, [this](CAudioExportDialog& dialog) {
            dialog.SetFolder(dir->filePath(QStringLiteral("missing/folder")));
            return true;
        });
        ScriptedPrompts prompts;
        runner.Export(Song(1, false), project, prompts, nullptr);
        QCOMPARE(prompts.shown.size(), 1);
        QCOMPARE(prompts.shown[0].icon, IUserPrompts::Icon::Error);
        QVERIFY(prompts.shown[0].text.contains(QStringLiteral("song.wav")));
    }

    void AbortLeavesNoFile_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("FLAC") << int(SoundFileKind::Flac);
        QTest::newRow("MP3") << int(SoundFileKind::Mp3);
    }
    void AbortLeavesNoFile() {
        QFETCH(int, kind);
        const CProject song = Song(3600, false);
        const QString project = Save(song, QStringLiteral("long.tqp"));
        const std::unique_ptr<CEncode> encoder = Encoders(ModuleDirectory())();
        EXPORT_REQUEST request;
        request.kind = SoundFileKind(kind);
        request.folder = dir->path().toStdString();
        request.threads = 1;
        bool pressed = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&pressed] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible() && !pressed) {
                    pressed = true;
                    QTest::mouseClick(p->findChild<QPushButton*>(), Qt::LeftButton);
                }
        });
        poll.start(100);
        const EXPORT_OUTCOME outcome =
            CAudioExportRunner::Run(song, project, request, nullptr, encoder.get());
        QVERIFY(pressed);
        QCOMPARE(outcome.status, BuildStatus::Cancelled);
        QVERIFY(outcome.files.empty());
        const QStringList left = QDir(dir->path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, QStringList{QStringLiteral("long.tqp")});
    }
};

std::unique_ptr<QObject> MakeAudioExportTest() {
    return std::make_unique<AudioExportTest>();
}

#include "AudioExportTest.moc"
