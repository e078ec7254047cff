// The editor's presets driven through real mouse and key events: applying a preset as one
// undo step, saving a track's sound and finding it again, the overwrite question, damaged
// and hostile files refused whole with the file and the key named, the track dialog's two
// buttons, the browser's search, apply and audition (heard on the capture device, the song
// untouched), and drag and drop both ways on the track window.

#include "../dialogs/DialogTestUtil.h"
#include "CaptureSupport.h"
#include "EditTestHooks.h"

#include "dialogs/CKeyboardWnd.h"
#include "dialogs/CNumberEdit.h"
#include "dialogs/CPresetSaveDialog.h"
#include "dialogs/CTrackDialog.h"
#include "presets/CPreset.h"
#include "ui/CEditController.h"
#include "ui/IUserPrompts.h"
#include "ui/presets/CPresetBrowser.h"
#include "ui/presets/CPresetCommands.h"
#include "ui/trackwnd/CTrackRowPainter.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace dlgtest;
namespace fs = std::filesystem;

namespace {

class TestPrompts : public IUserPrompts {
public:
    QList<Answer> answers;
    QStringList openNames;
    QStringList texts;
    QList<FileRequest> requests;

    QString OpenFileName(const FileRequest& request) override {
        requests.append(request);
        return openNames.isEmpty() ? QString() : openNames.takeFirst();
    }
    QString SaveFileName(const FileRequest&) override { return {}; }

protected:
    std::optional<Answer> Ask(const QString& text, const QString&, Icon, Buttons) override {
        texts.append(text);
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    }
};

void WriteText(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

CTrackData Sound(int waveform, int volume, int pan) {
    CTrackData sound;
    sound.waveform = waveform;
    sound.volume = volume;
    sound.pan = pan;
    sound.detune = 7;
    sound.envelope.sustain = -1;
    sound.envelope.sustainLevel = 255;
    return sound;
}

// Two tracks, "Lead" (square) and "Bass" (triangle, muted), each with a note in second 0
// of a 120 BPM song; the unbuilt set starts clean.
CProject MakeSong() {
    CProject song;
    song.tracks.resize(2);
    const char* names[] = {"Lead", "Bass"};
    for (int i = 0; i < 2; ++i) {
        CTrack& track = song.tracks[size_t(i)];
        track.settings.name = names[i];
        track.settings.waveform = i == 0 ? kSquare : kTriangle;
        CNote note;
        note.position = 0;
        note.length = 480;
        track.AddNote(note);
    }
    song.tracks[1].settings.mute = 1;
    song.currentTrack = 0;
    return song;
}

struct PresetRig {
    QTemporaryDir dir;
    fs::path factory = fs::path(dir.path().toStdString()) / "factory";
    fs::path user = fs::path(dir.path().toStdString()) / "user";
    CEditController edit;
    TestPrompts prompts;
    CPresetCommands commands{edit, prompts, nullptr};

    PresetRig() {
        edit.ReplaceProject(MakeSong());
        edit.ResetUnbuilt(0);
        commands.SetLibrary(CPresetLibrary(factory, user));
        WriteFactory("リード", "やわらかい正弦", Sound(kSine, 300, -40));
        WriteFactory("リード", "鋭い鋸", Sound(kSawtooth, 200, 10));
        WriteFactory("ベース", "太い三角", Sound(kTriangle, 400, 0));
    }
    QString WriteFactory(const std::string& category, const std::string& name,
                         const CTrackData& sound) {
        const fs::path file = factory / category / (name + ".json");
        WriteText(file, CPreset::ToJson(sound));
        return QString::fromStdString(file.string());
    }
    QString WriteFile(const std::string& name, const std::string& text) {
        const fs::path file = fs::path(dir.path().toStdString()) / "loose" / name;
        WriteText(file, text);
        return QString::fromStdString(file.string());
    }
    const CTrackData& Settings(int track) const {
        return edit.Project().tracks[size_t(track)].settings;
    }
    bool Show(CTrackWnd& wnd) {
        wnd.resize(200, 200);
        wnd.Refresh();
        return ShowActive(&wnd);
    }
    // Answers the save dialog with a category and a name.
    void AnswerSave(const QString& category, const QString& name) {
        commands.SetDialogRunner([category, name](QDialog& dialog) {
            auto* save = qobject_cast<CPresetSaveDialog*>(&dialog);
            if (save == nullptr)
                return int(QDialog::Rejected);
            save->SetCategory(category);
            save->SetName(name);
            return OkButton(save)->isEnabled() ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
    }
};

// Types any text, Japanese included, over the whole text of a line, as an input method
// commits it: one key event carrying the text.
void TypeText(QWidget* line, const QString& text) {
    line->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_Delete);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(line, &press);
}

QMimeData* UrlsOf(const QStringList& paths) {
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    mime->setUrls(urls);
    return mime;
}

// Offers the track window a drop of `paths` at a point of its rows.
bool DropOn(CTrackWnd& wnd, const QPoint& at, const QStringList& paths) {
    std::unique_ptr<QMimeData> mime(UrlsOf(paths));
    return wnd.TakePresetDrop(mime.get(), wnd.viewport()->mapToGlobal(at));
}

QTreeWidgetItem* Item(QTreeWidget& tree, const QString& category, const QString& name) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        for (int j = 0; j < tree.topLevelItem(i)->childCount(); ++j)
            if (tree.topLevelItem(i)->text(0) == category &&
                tree.topLevelItem(i)->child(j)->text(0) == name)
                return tree.topLevelItem(i)->child(j);
    return nullptr;
}

QStringList ShownPresets(QTreeWidget& tree) {
    QStringList shown;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        for (int j = 0; j < tree.topLevelItem(i)->childCount(); ++j)
            if (!tree.topLevelItem(i)->isHidden() && !tree.topLevelItem(i)->child(j)->isHidden())
                shown.append(tree.topLevelItem(i)->child(j)->text(0));
    return shown;
}

} // namespace

class PresetUiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QuietOffscreenWarnings(); }

    // [GIVEN] a song [WHEN] a preset is applied to a track [THEN] the sound is the preset's,
    // name, notes and mute stay, the track's second is unbuilt, and one undo brings the old
    // sound back with nothing left to undo
    void ApplyingIsOneUndoStep() {
        PresetRig rig;
        const CTrackData before = rig.Settings(0);
        CPreset preset;
        QVERIFY(
            rig.commands.ReadFile(rig.WriteFactory("リード", "x", Sound(kSine, 300, -40)), preset));
        QVERIFY(rig.commands.Apply(preset, 0));
        QCOMPARE(rig.Settings(0).waveform, int32_t(kSine));
        QCOMPARE(rig.Settings(0).volume, 300);
        QCOMPARE(rig.Settings(0).pan, -40);
        QCOMPARE(rig.Settings(0).name, std::string("Lead"));
        QCOMPARE(rig.edit.Project().tracks[0].NoteCount(), size_t(1));
        QCOMPARE(rig.edit.Unbuilt().at(0), 1);
        QVERIFY(rig.edit.Project().modified != 0);
        rig.edit.Undo();
        QVERIFY(rig.Settings(0) == before);
        QVERIFY(!rig.edit.CanUndo());
    }

    // [GIVEN] a muted track [WHEN] a preset is applied to it [THEN] it stays muted and no
    // second becomes unbuilt, since nothing it plays is heard
    void ApplyingToAMutedTrackKeepsItSilent() {
        PresetRig rig;
        CPreset preset;
        QVERIFY(
            rig.commands.ReadFile(rig.WriteFactory("ベース", "y", Sound(kSine, 500, 0)), preset));
        QVERIFY(rig.commands.Apply(preset, 1));
        QCOMPARE(rig.Settings(1).mute, 1);
        QCOMPARE(rig.Settings(1).volume, 500);
        QCOMPARE(rig.edit.Unbuilt().at(0), 0);
    }

    // [WHEN] "音色を読み込む…" runs and the chooser names a file [THEN] the chooser starts in
    // the user's folder when it exists, the current track takes the sound; a cancelled
    // chooser changes nothing
    void LoadIntoCurrentUsesTheChooser() {
        PresetRig rig;
        QVERIFY(!rig.commands.LoadIntoCurrent());
        QVERIFY(!rig.edit.CanUndo());
        QCOMPARE(rig.prompts.requests.back().directory,
                 QString::fromStdString(rig.factory.string()));
        rig.prompts.openNames = {rig.WriteFactory("リード", "z", Sound(kNoise, 123, 5))};
        fs::create_directories(rig.user);
        QVERIFY(rig.commands.LoadIntoCurrent());
        QCOMPARE(rig.prompts.requests.back().directory, QString::fromStdString(rig.user.string()));
        QCOMPARE(rig.Settings(0).waveform, int32_t(kNoise));
        QCOMPARE(rig.Settings(0).volume, 123);
    }

    // [WHEN] the current track's sound is saved under a new category [THEN] the library
    // finds it there with the track's sound; saving the same name again asks first, "No"
    // keeps the old file, "Yes" replaces it
    void SavedSoundIsFoundAgain() {
        PresetRig rig;
        QSignalSpy saved(&rig.commands, &CPresetCommands::presetSaved);
        rig.AnswerSave(QStringLiteral("マイ音色"), QStringLiteral("太いリード"));
        QVERIFY(rig.commands.SaveCurrent());
        QCOMPARE(saved.count(), 1);
        const auto entry = rig.commands.Library().Find("マイ音色", "太いリード");
        QVERIFY(entry.has_value());
        QVERIFY(!entry->factory);
        CPreset preset;
        QVERIFY(rig.commands.Library().Load(*entry, preset));
        QVERIFY(preset.sound == CPreset::SoundOf(rig.Settings(0)));

        rig.prompts.answers = {IUserPrompts::Answer::No};
        QVERIFY(!rig.commands.SaveTrack(1));
        QCOMPARE(rig.prompts.texts.size(), 1);
        QVERIFY(rig.prompts.texts.front().contains(QStringLiteral("太いリード")));
        QVERIFY(rig.commands.Library().Load(*entry, preset));
        QCOMPARE(preset.sound.waveform, int32_t(kSquare));

        rig.prompts.answers = {IUserPrompts::Answer::Yes};
        QVERIFY(rig.commands.SaveTrack(1));
        QVERIFY(rig.commands.Library().Load(*entry, preset));
        QCOMPARE(preset.sound.waveform, int32_t(kTriangle));
        QVERIFY(!rig.edit.CanUndo());
    }

    // [GIVEN] the save dialog [WHEN] a category or name cannot be a file name [THEN] OK is
    // disabled and the dialog says why; an existing category is offered and may be chosen
    void SaveDialogRefusesNamesThatCannotBeFiles() {
        CPresetSaveDialog dialog;
        dialog.SetCategories({QStringLiteral("ベース"), QStringLiteral("リード")});
        QVERIFY(ShowActive(&dialog));
        QCOMPARE(dialog.Category(), QStringLiteral("ベース"));
        auto* name = Child<QLineEdit>(&dialog, "name");
        auto* category = Child<QComboBox>(&dialog, "category");
        QVERIFY(!OkButton(&dialog)->isEnabled());
        const struct {
            QString category;
            QString name;
            bool ok;
        } cases[] = {
            {QStringLiteral("ベース"), QStringLiteral("太い"), true},
            {QStringLiteral("ベース"), QStringLiteral("a/b"), false},
            {QStringLiteral("ベース"), QStringLiteral(".hidden"), false},
            {QStringLiteral("../x"), QStringLiteral("太い"), false},
            {QString(), QStringLiteral("太い"), false},
            {QStringLiteral("ベース"), QString(200, u'a') + u'b', false},
            {QStringLiteral("新しい分類"), QStringLiteral("太い"), true},
        };
        for (const auto& c : cases) {
            TypeText(category->lineEdit(), c.category);
            TypeText(name, c.name);
            QCOMPARE(OkButton(&dialog)->isEnabled(), c.ok);
            QCOMPARE(Child<QLabel>(&dialog, "problem")->text().isEmpty(), c.ok);
        }
        category->setCurrentIndex(1);
        QCOMPARE(dialog.Category(), QStringLiteral("リード"));
    }

    // [GIVEN] damaged and hostile preset files [WHEN] one is applied [THEN] it is refused
    // with a message naming the file and the key, and the song is untouched
    void HostileFilesAreRefusedWhole() {
        PresetRig rig;
        const struct {
            const char* file;
            std::string text;
            const char* key;
        } cases[] = {
            {"wrong-type.json", R"({"waveform":3,"volume":"loud"})", "volume"},
            {"unknown.json", R"({"waveform":3,"wavefrom":1})", "wavefrom"},
            {"range.json", R"({"waveform":3,"volume":2000})", "volume"},
            {"escape.json", R"({"waveform":5,"pcm":{"fileName":"../../../etc/passwd"}})",
             "pcm.fileName"},
            {"notes.json", R"({"waveform":3,"notes":[]})", "notes"},
            {"broken.json", R"({"waveform":)", "JSON"},
        };
        const CTrackData before = rig.Settings(0);
        for (const auto& c : cases) {
            const QString path = rig.WriteFile(c.file, c.text);
            rig.prompts.texts.clear();
            QVERIFY2(!rig.commands.ApplyFile(path, 0), c.file);
            QCOMPARE(rig.prompts.texts.size(), 1);
            QVERIFY2(rig.prompts.texts.front().contains(path),
                     qPrintable(rig.prompts.texts.front()));
            QVERIFY2(rig.prompts.texts.front().contains(QLatin1String(c.key)),
                     qPrintable(rig.prompts.texts.front()));
            QVERIFY(rig.Settings(0) == before);
            QVERIFY(!rig.edit.CanUndo());
        }
        QVERIFY(!rig.commands.ApplyFile(rig.WriteFile("fine.json", "{}"), 5));
    }

    // [GIVEN] the track dialog with the preset actions [WHEN] "音色を読み込む" picks a file
    // [THEN] the form shows the preset's sound and keeps the name, and only OK takes it;
    // "音色を保存" saves what the form holds
    void TrackDialogLoadsAndSavesTheWorkingCopy() {
        PresetRig rig;
        CTrackDialog dialog;
        dialog.SetTrackData(rig.Settings(0));
        rig.commands.Equip(dialog);
        QVERIFY(ShowActive(&dialog));
        rig.prompts.openNames = {rig.WriteFactory("リード", "w", Sound(kSine, 321, 12))};
        Click(Child<QPushButton>(&dialog, "loadPreset"));
        QCOMPARE(Child<CNumberEdit>(&dialog, "volume")->Value(), 321);
        QCOMPARE(Child<QComboBox>(&dialog, "waveform")->currentIndex(), int(kSine));
        QCOMPARE(Child<QLineEdit>(&dialog, "name")->text(), QStringLiteral("Lead"));
        QCOMPARE(rig.Settings(0).waveform, int32_t(kSquare));

        rig.AnswerSave(QStringLiteral("保存"), QStringLiteral("フォーム"));
        Click(Child<QPushButton>(&dialog, "savePreset"));
        const auto entry = rig.commands.Library().Find("保存", "フォーム");
        QVERIFY(entry.has_value());
        CPreset preset;
        QVERIFY(rig.commands.Library().Load(*entry, preset));
        QCOMPARE(preset.sound.volume, 321);

        CTrackDialog plain;
        QVERIFY(!Child<QPushButton>(&plain, "loadPreset")->isVisibleTo(&plain));
    }

    // [GIVEN] the browser over a library [WHEN] a search text is typed [THEN] only presets
    // whose name holds it show, in either case, and categories without one hide; each
    // preset has the source picture the track list draws
    void BrowserSearchFilters() {
        PresetRig rig;
        rig.WriteFactory("リード", "Bright Saw", Sound(kSawtooth, 250, 0));
        CPresetBrowser browser(rig.commands, rig.edit, [] { return 50; });
        QVERIFY(ShowActive(&browser));
        QTreeWidget& tree = browser.Tree();
        QCOMPARE(ShownPresets(tree).size(), 4);
        QTest::keyClicks(&browser.SearchBox(), "SAW");
        QCOMPARE(ShownPresets(tree), QStringList{QStringLiteral("Bright Saw")});
        QVERIFY(tree.topLevelItem(0)->isHidden()); // ベース
        TypeText(&browser.SearchBox(), QStringLiteral("鋸"));
        QCOMPARE(ShownPresets(tree), QStringList{QStringLiteral("鋭い鋸")});
        TypeText(&browser.SearchBox(), QStringLiteral("どれでもない"));
        QVERIFY(ShownPresets(tree).isEmpty());
        browser.SearchBox().clear();
        QCOMPARE(ShownPresets(tree).size(), 4);

        const QImage expected = CTrackRowPainter::SourcePicture(
            Sound(kSawtooth, 200, 10), tree.palette().color(QPalette::Base));
        const QIcon icon = Item(tree, QStringLiteral("リード"), QStringLiteral("鋭い鋸"))->icon(0);
        QCOMPARE(icon.pixmap(expected.size()).toImage().convertToFormat(expected.format()),
                 expected);
    }

    // [WHEN] a preset is double-clicked, or chosen and "適用" pressed [THEN] it is applied to
    // the current track, one undo step each
    void BrowserAppliesByDoubleClickAndButton() {
        PresetRig rig;
        CPresetBrowser browser(rig.commands, rig.edit, [] { return 50; });
        browser.resize(760, 500);
        QVERIFY(ShowActive(&browser));
        QTreeWidget& tree = browser.Tree();
        QVERIFY(!browser.ApplyButton().isEnabled());
        QTreeWidgetItem* item = Item(tree, QStringLiteral("ベース"), QStringLiteral("太い三角"));
        tree.scrollToItem(item);
        const QPoint at = tree.visualItemRect(item).center();
        // A double click is a click followed by the double-click event, as a mouse sends it.
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(rig.Settings(0).volume, 128);
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(rig.Settings(0).volume, 400);
        QCOMPARE(browser.ChosenKey(), QStringLiteral("ベース/太い三角"));

        QVERIFY(browser.Choose(QStringLiteral("リード"), QStringLiteral("鋭い鋸")));
        QVERIFY(browser.ApplyButton().isEnabled());
        Click(&browser.ApplyButton());
        QCOMPARE(rig.Settings(0).waveform, int32_t(kSawtooth));
        rig.edit.Undo();
        QCOMPARE(rig.Settings(0).volume, 400);
        rig.edit.Undo();
        QVERIFY(!rig.edit.CanUndo());
    }

    // [GIVEN] a sine preset chosen in the browser and a capture device [WHEN] a key of the
    // browser's keyboard is held [THEN] the preset's sound is heard and the song is not
    // changed; a preset saved meanwhile shows in the list and is chosen
    void BrowserAuditionsWithoutTouchingTheSong() {
        CaptureDevice capture;
        PresetRig rig;
        CPresetBrowser browser(rig.commands, rig.edit, [] { return 50; });
        browser.resize(760, 400);
        QVERIFY(ShowActive(&browser));
        QVERIFY(browser.Choose(QStringLiteral("リード"), QStringLiteral("やわらかい正弦")));
        QCOMPARE(browser.PreviewTrack().settings.waveform, int32_t(kSine));
        CKeyboardWnd& keyboard = browser.Keyboard();
        QTest::mousePress(&keyboard, Qt::LeftButton, Qt::NoModifier,
                          QPoint(keyboard.width() / 2, keyboard.height() / 4));
        QVERIFY(keyboard.SoundingKey() >= 0);
        QVERIFY(capture.WaitForFrames(2000));
        const std::vector<int16_t> samples = capture.Samples();
        QVERIFY(PeakOf(samples, 0, samples.size()) > 1000);
        QTest::mouseRelease(&keyboard, Qt::LeftButton, Qt::NoModifier,
                            QPoint(keyboard.width() / 2, keyboard.height() / 4));
        QCOMPARE(keyboard.SoundingKey(), -1);
        QVERIFY(!rig.edit.CanUndo());
        QCOMPARE(rig.Settings(0).waveform, int32_t(kSquare));

        rig.AnswerSave(QStringLiteral("マイ音色"), QStringLiteral("新作"));
        QVERIFY(rig.commands.SaveCurrent());
        QCOMPARE(browser.ChosenKey(), QStringLiteral("マイ音色/新作"));
    }

    // [WHEN] a preset file is dropped on the second row [THEN] that track takes it; other
    // files, several files and drops below the rows are left to the window, and a hostile
    // file changes nothing
    void PresetFileDroppedOnARowAppliesIt() {
        PresetRig rig;
        CTrackWnd wnd(rig.edit);
        QVERIFY(rig.Show(wnd));
        connect(&wnd, &CTrackWnd::presetDropped, &rig.commands,
                [&rig](const QString& path, int row) { rig.commands.ApplyFile(path, row); });
        const QString preset = rig.WriteFactory("ベース", "drop", Sound(kSine, 222, 0));
        const QPoint row1 = wnd.RowRect(1).center();
        QVERIFY(DropOn(wnd, row1, {preset}));
        QCOMPARE(rig.Settings(1).volume, 222);
        QCOMPARE(rig.Settings(0).waveform, int32_t(kSquare));

        const QString project = rig.WriteFile("song.tqp", "x");
        QVERIFY(!DropOn(wnd, row1, {project}));
        QVERIFY(!DropOn(wnd, row1, {preset, preset}));
        QVERIFY(!DropOn(wnd, QPoint(10, 3 * CTrackRowPainter::kRowHeight + 5), {preset}));

        const QString hostile = rig.WriteFile("bad.json", R"({"volume":99999})");
        QVERIFY(DropOn(wnd, wnd.RowRect(0).center(), {hostile}));
        QCOMPARE(rig.prompts.texts.size(), 1);
        QVERIFY(rig.prompts.texts.front().contains(hostile));
        QCOMPARE(rig.Settings(0).waveform, int32_t(kSquare));
    }

    // [WHEN] a row is dragged out of the track window and let go [THEN] the window says which
    // row and where; a drag within the window still moves the track
    void RowDraggedOutIsReported() {
        PresetRig rig;
        CTrackWnd wnd(rig.edit);
        QVERIFY(rig.Show(wnd));
        QSignalSpy out(&wnd, &CTrackWnd::rowDraggedOut);
        QWidget* view = wnd.viewport();
        const QPoint start = wnd.RowRect(1).center();
        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(view, start + QPoint(0, 10));
        QTest::mouseMove(view, QPoint(view->width() + 40, start.y()));
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier,
                            QPoint(view->width() + 40, start.y()));
        QCOMPARE(out.count(), 1);
        QCOMPARE(out.front().at(0).toInt(), 1);
        QCOMPARE(out.front().at(1).toPoint(),
                 view->mapToGlobal(QPoint(view->width() + 40, start.y())));
        QVERIFY(!rig.edit.CanUndo());

        QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(view, start - QPoint(0, 10));
        QTest::mouseMove(view, wnd.RowRect(0).center() - QPoint(0, 10));
        QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier,
                            wnd.RowRect(0).center() - QPoint(0, 10));
        QCOMPARE(out.count(), 1);
        QCOMPARE(rig.Settings(0).name, std::string("Bass"));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("TSQ_AUDIO_DEVICE", "null");
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CheckInvariantsAfterEveryStep();
    PresetUiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PresetUiTest.moc"
