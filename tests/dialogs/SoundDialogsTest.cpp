// The PCM and FM sound dialogs: file list, chooser and audition, the loop unit conversion,
// the FM operators with their multiple box, the clipboard and the keyboard's preview track.

#include "DialogTestUtil.h"

#include "common/ClipboardFormats.h"
#include "dialogs/CEnvelopeWnd.h"
#include "dialogs/CFMAlgorithmPicture.h"
#include "dialogs/CFMDialog.h"
#include "dialogs/CKeyboardWnd.h"
#include "dialogs/CMultipleEdit.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPCMDialog.h"
#include "dialogs/CWaveMemoryDialog.h"
#include "dialogs/SoundDialogs.h"
#include "model/CPCM.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QSlider>
#include <QTemporaryDir>

#include <cstring>

using namespace dlgtest;

namespace {

// A mono 16-bit WAV file of `frames` silent frames at `rate` Hz, in the strict layout.
bool WriteWav(const QString& path, uint32_t rate, uint32_t frames) {
    QByteArray bytes;
    const auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.append(char((v >> (8 * i)) & 0xFF));
    };
    const auto put16 = [&](uint16_t v) {
        bytes.append(char(v & 0xFF));
        bytes.append(char(v >> 8));
    };
    const uint32_t dataSize = frames * 2;
    bytes.append("RIFF");
    put32(36 + dataSize);
    bytes.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    bytes.append("data");
    put32(dataSize);
    bytes.append(QByteArray(int(dataSize), '\0'));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool Touch(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

CFM RichFm() {
    CFM fm;
    fm.algorithm = 5;
    for (int i = 0; i < 4; ++i) {
        CFMOperator& op = fm.operators[size_t(i)];
        op.envelope.attack = 100 * (i + 1);
        op.envelope.decay = 10 * (i + 1);
        op.envelope.sustain = i == 2 ? -1 : 5000 + i;
        op.envelope.sustainLevel = 40 + i;
        op.envelope.level = 200 + i;
        op.envelope.keyScaling = i;
        op.multiple = 0.5 + i * 2;
        op.detune = -20 * i;
        op.pitchLFO.period = 300 + i;
        op.pitchLFO.depth = 64 * (i + 1);
        op.ampLFO.waveform = i;
        op.ampLFO.depth = 10 + i;
        op.ampLFO.invert = i % 2;
    }
    fm.operators[0].feedback = 6;
    return fm;
}

void SetClipboard(const char* format, const QByteArray& bytes) {
    auto* mime = new QMimeData;
    mime->setData(QLatin1String(format), bytes);
    QGuiApplication::clipboard()->setMimeData(mime);
}

} // namespace

class SoundDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }
    void cleanup() { CPCM::SetDocumentsFolder(std::string()); }

    // [GIVEN] a default PCM folder [WHEN] the dialog opens [THEN] its WAV files come before
    // its MP3 files, named as tracks look them up
    void FileListHoldsWavThenMp3() {
        QTemporaryDir folder;
        for (const char* name : {"b.wav", "a.wav", "z.mp3", "note.txt"})
            QVERIFY(Touch(folder.filePath(QLatin1String(name))));
        OPTIONS options;
        options.pcmDefaultPath = folder.path().toStdString();
        CPCM::SetDocumentsFolder(folder.path().toStdString());
        {
            CPCMDialog dialog(options);
            auto* list = Child<QComboBox>(&dialog, "fileName");
            QCOMPARE(list->count(), 3);
            QCOMPARE(list->itemText(0), QStringLiteral("a.wav"));
            QCOMPARE(list->itemText(1), QStringLiteral("b.wav"));
            QCOMPARE(list->itemText(2), QStringLiteral("z.mp3"));
            QCOMPARE(Child<QLabel>(&dialog, "mp3Note")->text(),
                     QStringLiteral("MP3ファイルを使用するには、別途 vbmp3.dll が必要です。"));
        }
        // A folder outside the documents folder gives full paths, which resolve as they are.
        CPCM::SetDocumentsFolder("/nonexistent-documents");
        CPCMDialog dialog(options);
        QCOMPARE(Child<QComboBox>(&dialog, "fileName")->itemText(0),
                 QDir(folder.path()).filePath(QStringLiteral("a.wav")));
    }

    // [GIVEN] the file chooser [WHEN] a file inside or outside the documents folder is chosen
    // [THEN] the name is relative or the full path
    void BrowseStoresRelativeNamesInsideTheDocumentsFolder() {
        QTemporaryDir home;
        const QString documents = home.filePath(QStringLiteral("Documents"));
        QVERIFY(QDir().mkpath(documents + QStringLiteral("/wav")));
        CPCM::SetDocumentsFolder(documents.toStdString());
        OPTIONS options;
        options.pcmDefaultPath = (documents + QStringLiteral("/wav")).toStdString();
        CPCMDialog dialog(options);
        QString chosen = documents + QStringLiteral("/wav/kick.wav");
        QString folderSeen;
        QString filterSeen;
        dialog.SetFileChooser([&](QWidget*, const QString& folder, const QString& filter) {
            folderSeen = folder;
            filterSeen = filter;
            return chosen;
        });
        QVERIFY(ShowActive(&dialog));
        auto* browse = Child<QPushButton>(&dialog, "browse");
        Click(browse);
        QCOMPARE(folderSeen, documents + QStringLiteral("/wav"));
        QVERIFY(filterSeen.contains(QStringLiteral("*.wav")));
        QVERIFY(filterSeen.contains(QStringLiteral("*.mp3")));
        QCOMPARE(dialog.GetTrack().pcm.fileName, std::string("wav/kick.wav"));

        chosen = home.filePath(QStringLiteral("Documents2/snare.wav"));
        Click(browse);
        QCOMPARE(dialog.GetTrack().pcm.fileName, chosen.toStdString());

        const std::string kept = chosen.toStdString();
        chosen.clear();
        Click(browse);
        QCOMPARE(dialog.GetTrack().pcm.fileName, kept);
    }

    // [GIVEN] a default PCM folder that is not on disk [WHEN] "..." is pressed [THEN] the
    // chooser starts in the nearest folder that exists, never in the missing one
    void BrowseStartsInTheNearestExistingFolder() {
        QTemporaryDir home;
        const struct {
            QString stored;
            QString expected;
        } cases[] = {
            {home.filePath(QStringLiteral("Documents")), home.path()},
            {home.filePath(QStringLiteral("a/b/c")), home.path()},
            {QString(), QDir::homePath()},
            {QStringLiteral("relative/folder"), QDir::homePath()},
        };
        for (const auto& c : cases) {
            OPTIONS options;
            options.pcmDefaultPath = c.stored.toStdString();
            CPCMDialog dialog(options);
            QString folderSeen;
            dialog.SetFileChooser([&](QWidget*, const QString& folder, const QString&) {
                folderSeen = folder;
                return QString();
            });
            QVERIFY(ShowActive(&dialog));
            Click(Child<QPushButton>(&dialog, "browse"));
            QCOMPARE(folderSeen, c.expected);
        }
    }

    // [GIVEN] a 44100 Hz file [WHEN] the loop unit switches to samples and back [THEN] 1000 ms
    // becomes 44100 samples and 1000 again; an unreadable file changes only the unit
    void LoopUnitConvertsWithTheFileRate() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("tone.wav"));
        QVERIFY(WriteWav(path, 44100, 441));
        CTrackData track;
        track.pcm.fileName = path.toStdString();
        track.pcm.loopStart = 1000;
        track.pcm.loopEnd = 1500;
        track.pcm.loopUnit = 0;
        CPCMDialog dialog{OPTIONS()};
        dialog.SetTrack(track);
        QVERIFY(ShowActive(&dialog));
        auto* unit = Child<QComboBox>(&dialog, "loopUnit");
        auto* start = Child<CNumberEdit>(&dialog, "loopStart");
        auto* end = Child<CNumberEdit>(&dialog, "loopEnd");
        unit->setFocus(Qt::TabFocusReason);
        QTest::keyClick(unit, Qt::Key_Down);
        QCOMPARE(unit->currentText(), QStringLiteral("サンプル"));
        QCOMPARE(start->text(), QStringLiteral("44100"));
        QCOMPARE(end->text(), QStringLiteral("66150"));
        QCOMPARE(Child<QLabel>(&dialog, "loopEndUnit")->text(), QStringLiteral("サンプル"));
        QCOMPARE(dialog.GetTrack().pcm.loopUnit, 1);
        QTest::keyClick(unit, Qt::Key_Up);
        QCOMPARE(start->text(), QStringLiteral("1000"));
        QCOMPARE(end->text(), QStringLiteral("1500"));
        QCOMPARE(dialog.GetTrack().pcm.loopUnit, 0);

        track.pcm.fileName = folder.filePath(QStringLiteral("missing.wav")).toStdString();
        dialog.SetTrack(track);
        QTest::keyClick(unit, Qt::Key_Down);
        QCOMPARE(start->text(), QStringLiteral("1000"));
        QCOMPARE(dialog.GetTrack().pcm.loopUnit, 1);
        QCOMPARE(Child<QLabel>(&dialog, "loopEndUnit")->text(), QStringLiteral("サンプル"));
    }

    // [GIVEN] the conversion alone [THEN] it truncates and stays within 32 bits
    void LoopConversionTruncatesAndSaturates() {
        QCOMPARE(CPCMDialog::ConvertLoopPosition(1, 1, 44100), int64_t(44));
        QCOMPARE(CPCMDialog::ConvertLoopPosition(44099, 0, 44100), int64_t(999));
        QCOMPARE(CPCMDialog::ConvertLoopPosition(2147483647, 1, 384000), int64_t(2147483647));
        QCOMPARE(CPCMDialog::ConvertLoopPosition(500, 1, 0), int64_t(500));
    }

    // [GIVEN] base key 95 (C of octave 1) [WHEN] another octave is chosen [THEN] the stored key
    // is key index + 12 × octave index; the loop boxes take 0 to 2147483647
    void BaseKeyAndLoopCount() {
        CTrackData track;
        track.pcm.baseKey = 95;
        CPCMDialog dialog{OPTIONS()};
        dialog.SetTrack(track);
        QVERIFY(ShowActive(&dialog));
        auto* octave = Child<QComboBox>(&dialog, "baseOctave");
        auto* key = Child<QComboBox>(&dialog, "baseKey");
        QCOMPARE(octave->currentText(), QStringLiteral("1"));
        QCOMPARE(key->currentText(), QStringLiteral("C"));
        QCOMPARE(key->itemText(1), QStringLiteral("Bb"));
        octave->setFocus(Qt::TabFocusReason);
        QTest::keyClick(octave, Qt::Key_Home);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(octave, Qt::Key_Down);
        QCOMPARE(octave->currentText(), QStringLiteral("5"));
        QCOMPARE(dialog.GetTrack().pcm.baseKey, 11 + 12 * 3);

        auto* count = Child<CNumberEdit>(&dialog, "loopCount");
        TypeOver(count, "3000000000");
        Leave(count, key);
        QCOMPARE(dialog.GetTrack().pcm.loopCount, 2147483647);
    }

    // [GIVEN] a WAV file and a missing one [WHEN] ">" is clicked [THEN] the first plays through
    // the device layer, the second plays nothing and stops what played
    void AuditionPlaysWavFiles() {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("long.wav"));
        QVERIFY(WriteWav(path, 8000, 80000));
        CTrackData track;
        track.pcm.fileName = path.toStdString();
        CPCMDialog dialog{OPTIONS()};
        dialog.SetTrack(track);
        QVERIFY(ShowActive(&dialog));
        auto* audition = Child<QPushButton>(&dialog, "audition");
        Click(audition);
        QVERIFY(dialog.IsAuditioning());
        auto* name = Child<QComboBox>(&dialog, "fileName");
        TypeOver(name->lineEdit(), folder.filePath(QStringLiteral("none.wav")));
        Click(audition);
        QVERIFY(!dialog.IsAuditioning());
    }

    // [GIVEN] an FM sound with distinct operators [WHEN] copied in one dialog and pasted in
    // another [THEN] all four operators with their LFOs arrive and are shown
    void FmCopyPasteCarriesEveryOperator() {
        QGuiApplication::clipboard()->clear();
        CTrackData source;
        source.waveform = kFm;
        source.fm = RichFm();
        CFMDialog from{OPTIONS()};
        from.SetTrack(source);
        CFMDialog to{OPTIONS()};
        to.SetTrack(CTrackData());
        QVERIFY(ShowActive(&to));
        auto* paste = Child<QPushButton>(&to, "paste");
        QVERIFY(!paste->isEnabled());

        // Another window copies: the open dialog's paste button turns on at once.
        from.show();
        Click(Child<QPushButton>(&from, "copy"));
        QVERIFY(paste->isEnabled());
        QVERIFY(ShowActive(&to));
        Click(paste);
        QCOMPARE(to.GetTrack().fm, RichFm());
        QCOMPARE(Child<QComboBox>(&to, "algorithm")->currentIndex(), 5);
        QCOMPARE(Child<QComboBox>(&to, "feedback")->currentIndex(), 6);
        QCOMPARE(Child<CMultipleEdit>(&to, "op4ML")->text(), QStringLiteral("6.5"));
        QCOMPARE(Child<CNumberEdit>(&to, "op3SR")->text(), QStringLiteral("-1"));

        // A sound of the other kind does not enable the button.
        const std::vector<uint8_t> wave = CWaveMemoryDialog::CopyPayload(CWaveMemory());
        SetClipboard(kClipWaveMemory, QByteArray(reinterpret_cast<const char*>(wave.data()),
                                                 qsizetype(wave.size())));
        QVERIFY(!paste->isEnabled());
    }

    // [GIVEN] a damaged "TSQ_FM" block [WHEN] pasted [THEN] the message and nothing changed
    void DamagedFmBlockIsRefused() {
        SetClipboard(kClipFm, QByteArray("\x01\x02\x03", 3));
        CTrackData track;
        track.fm = RichFm();
        CFMDialog dialog{OPTIONS()};
        dialog.SetTrack(track);
        QVERIFY(ShowActive(&dialog));
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        OnNextModal(&dialog, [&](QDialog* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                text = box->text();
                icon = box->icon();
            }
            modal->accept();
        });
        Click(Child<QPushButton>(&dialog, "paste"));
        QCOMPARE(text, QStringLiteral("貼り付けに失敗しました。"));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(dialog.GetTrack().fm, RichFm());
        QVERIFY(!CFMDialog::PastePayload({}).has_value());
    }

    // [GIVEN] the ML box [WHEN] typed or stepped [THEN] one decimal, 0.5..16, whole steps and
    // 0.5 in place of 0
    void MultipleBoxStepsAndClamps() {
        CFMDialog dialog{OPTIONS()};
        dialog.SetTrack(CTrackData());
        QVERIFY(ShowActive(&dialog));
        auto* ml = Child<CMultipleEdit>(&dialog, "op1ML");
        auto* dt = Child<CNumberEdit>(&dialog, "op1DT");
        QCOMPARE(ml->text(), QStringLiteral("1.0"));
        const auto typed = [&](const char* text) {
            TypeOver(ml, QString::fromLatin1(text));
            Leave(ml, dt);
            return ml->text();
        };
        QCOMPARE(typed("20"), QStringLiteral("16.0"));
        QCOMPARE(typed("0.2"), QStringLiteral("0.5"));
        QCOMPARE(dialog.GetTrack().fm.operators[0].multiple, 0.5);
        QCOMPARE(typed("1.5"), QStringLiteral("1.5"));
        ml->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ml, Qt::Key_Up);
        QCOMPARE(ml->text(), QStringLiteral("2.0"));
        QTest::keyClick(ml, Qt::Key_Down);
        QTest::keyClick(ml, Qt::Key_Down);
        QCOMPARE(ml->text(), QStringLiteral("0.5"));
        QCOMPARE(dialog.GetTrack().fm.operators[0].multiple, 0.5);
        QTest::keyClick(ml, Qt::Key_Up);
        QCOMPARE(ml->text(), QStringLiteral("1.0"));
        QCOMPARE(typed("15.7"), QStringLiteral("15.7"));
        QTest::keyClick(ml, Qt::Key_Up);
        QTest::keyClick(ml, Qt::Key_Up);
        QCOMPARE(ml->text(), QStringLiteral("16.0"));

        const struct {
            const char* box;
            const char* typed;
            const char* shown;
        } cases[] = {{"op2AR", "20000", "10000"},   {"op2SR", "-9", "-1"},
                     {"op2SR", "200000", "100000"}, {"op2RR", "-3", "-1"},
                     {"op2SL", "300", "255"},       {"op2TL", "300", "255"},
                     {"op2KS", "40", "16"},         {"op2DT", "-999", "-256"}};
        for (const auto& c : cases) {
            auto* box = Child<CNumberEdit>(&dialog, c.box);
            TypeOver(box, QString::fromLatin1(c.typed));
            Leave(box, dt);
            QCOMPARE(box->text(), QString::fromLatin1(c.shown));
        }
    }

    // [GIVEN] an operator column [WHEN] its slider or a field changes [THEN] its preview
    // follows; "LFO..." edits that operator's LFOs only
    void OperatorPreviewAndLfo() {
        CFMDialog dialog{OPTIONS()};
        dialog.SetTrack(CTrackData());
        QVERIFY(ShowActive(&dialog));
        auto* span = Child<QSlider>(&dialog, "op2Span");
        auto* preview = Child<CEnvelopeWnd>(&dialog, "op2Preview");
        QCOMPARE(span->maximum(), 10);
        span->setFocus(Qt::TabFocusReason);
        QTest::keyClick(span, Qt::Key_End);
        QCOMPARE(preview->GetSpan(), 10000);
        TypeOver(Child<CNumberEdit>(&dialog, "op2AR"), "640");
        QCOMPARE(preview->GetEnvelope()->attack, 640);
        QCOMPARE(Child<CEnvelopeWnd>(&dialog, "op1Preview")->GetEnvelope()->attack, 0);

        OnNextModal(&dialog, [](QDialog* modal) {
            TypeOver(Child<CNumberEdit>(modal, "pitchDepth"), "1200");
            modal->accept();
        });
        Click(Child<QPushButton>(&dialog, "op3LFO"));
        QCOMPARE(dialog.GetTrack().fm.operators[2].pitchLFO.depth, 1200);
        QCOMPARE(dialog.GetTrack().fm.operators[1].pitchLFO.depth, 0);
    }

    // [GIVEN] an edit not yet committed [WHEN] a key is pressed [THEN] the keyboard plays the
    // sound as shown
    void KeyPressCopiesTheControlsFirst() {
        CFMDialog dialog{OPTIONS()};
        dialog.SetTrack(CTrackData());
        QVERIFY(ShowActive(&dialog));
        TypeOver(Child<CNumberEdit>(&dialog, "op1AR"), "777");
        auto* keyboard = dialog.findChild<CKeyboardWnd*>(QStringLiteral("Keyboard_Class"));
        QVERIFY(keyboard != nullptr);
        QTest::mousePress(keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(dialog.PreviewTrack().settings.fm.operators[0].envelope.attack, 777);
        QCOMPARE(dialog.PreviewTrack().settings.waveform, int32_t(kFm));
        QTest::mouseRelease(keyboard, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(keyboard->SoundingKey(), -1);
    }

    // [GIVEN] installed services [WHEN] a sound is edited by kind [THEN] the dialog of that
    // kind opens with the application's options and song; other kinds open nothing
    void SoundDialogsFollowTheKindAndTheServices() {
        OPTIONS options;
        options.playBufferSize = 321;
        CProjectData song;
        song.samplesPerSec = 22050;
        SetSoundDialogServices({&options, nullptr, nullptr, [&] { return song; }});
        const SOUND_DIALOG_CONTEXT context = CurrentSoundDialogContext();
        SetSoundDialogServices({});
        QCOMPARE(context.options.playBufferSize, 321);
        QCOMPARE(context.project.samplesPerSec, 22050);
        QCOMPARE(CurrentSoundDialogContext().options.playBufferSize,
                 DefaultOptions().playBufferSize);

        QWidget parent;
        CTrackData track;
        track.pcm.loopCount = 1;
        for (int kind : {kSquare, kTriangle, kSawtooth, kSine, kNoise}) {
            track.waveform = kind;
            QVERIFY(!HasSoundDialog(kind));
            QVERIFY(!EditTrackSound(&parent, track, context));
        }
        const struct {
            int kind;
            const char* title;
        } kinds[] = {{kPcm, "PCM"}, {kWaveMemory, "波形メモリ音源"}, {kFm, "FM音源"}};
        for (const auto& k : kinds) {
            track.waveform = k.kind;
            QString title;
            OnNextModal(&parent, [&](QDialog* modal) {
                title = modal->windowTitle();
                if (auto* count = modal->findChild<CNumberEdit*>(QStringLiteral("loopCount")))
                    TypeOver(count, "9");
                modal->accept();
            });
            QVERIFY(EditTrackSound(&parent, track, context));
            QCOMPARE(title, QString::fromUtf8(k.title));
        }
        QCOMPARE(track.pcm.loopCount, 9);
    }

    // [GIVEN] the algorithm list [THEN] eight entries with distinct 48 × 48 pictures
    void AlgorithmPictures() {
        CFMDialog dialog{OPTIONS()};
        auto* list = Child<QComboBox>(&dialog, "algorithm");
        QCOMPARE(list->count(), 8);
        QCOMPARE(list->itemText(7), QStringLiteral("アルゴリズム7"));
        QCOMPARE(Child<QComboBox>(&dialog, "feedback")->count(), 8);
        QList<QImage> pictures;
        for (int a = 0; a < 8; ++a) {
            const QImage picture = CFMAlgorithmPicture::Draw(a);
            QCOMPARE(picture.size(), QSize(48, 48));
            QVERIFY(!pictures.contains(picture));
            pictures << picture;
            for (int i = 0; i < 4; ++i)
                QVERIFY(QRect(0, 0, 48, 48).contains(CFMAlgorithmPicture::Box(a, i)));
        }
        QVERIFY(CFMAlgorithmPicture::Draw(8).isNull());
    }
};

QTEST_MAIN(SoundDialogsTest)
#include "SoundDialogsTest.moc"
