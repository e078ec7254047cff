// The presets in the editor window: the browser's toggle in "表示", kept with the window
// state across runs; the track dialogs' preset buttons; a track row dragged from the track
// window onto the browser saving the track's sound into the category under the pointer.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "../dialogs/DialogTestUtil.h"
#include "dialogs/CPresetSaveDialog.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CommandIds.h"
#include "ui/presets/CPresetBrowser.h"
#include "ui/presets/CPresetCommands.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

namespace {

class PresetFrameTest : public FrameTestBase {
    Q_OBJECT

    // Drops a local file on the window at a point of its own.
    bool Drop(const QPoint& at, const QString& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &enter);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

private slots:
    void cleanup() { CloseFrame(); }

    // [GIVEN] a first run [THEN] the browser is hidden [WHEN] "音色ブラウザ" is chosen [THEN]
    // it shows, checked, and shows again in the next window of the same settings
    void BrowserToggleIsKeptWithTheWindow() {
        QVERIFY(OpenFrame());
        QVERIFY(!frame->PresetBrowser().isVisible());
        QVERIFY(!frame->Action(cmd::kViewPresetBrowser)->isChecked());
        QVERIFY(frame->RunCommand(cmd::kViewPresetBrowser));
        QVERIFY(frame->PresetBrowser().isVisible());
        QVERIFY(frame->Action(cmd::kViewPresetBrowser)->isChecked());
        frame->close();
        frame = std::make_unique<CMainFrame>(*app, prompts.get(), launcher.get());
        frame->ShowWindow(false);
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        QVERIFY(frame->PresetBrowser().isVisible());
        QVERIFY(frame->RunCommand(cmd::kViewPresetBrowser));
        QVERIFY(!frame->PresetBrowser().isVisible());
    }

    // [WHEN] the track properties dialog opens from the track window [THEN] it offers the
    // two preset buttons
    void PropertiesDialogOffersPresets() {
        QVERIFY(OpenFrame());
        bool offered = false;
        frame->TrackWnd().SetDialogRunner([&offered](QDialog& dialog) {
            offered = dlgtest::Child<QPushButton>(&dialog, "loadPreset")->isVisibleTo(&dialog) &&
                      dlgtest::Child<QPushButton>(&dialog, "savePreset")->isVisibleTo(&dialog);
            return int(QDialog::Rejected);
        });
        frame->TrackWnd().setFocus();
        QVERIFY(frame->RunCommand(cmd::kProperties));
        QVERIFY(offered);
    }

    // [WHEN] a preset file is dropped on the window over the first track's row [THEN] the
    // track takes it as one undo step; a project dropped at the same place still opens
    void DropsOverTheTrackListApplyPresetsAndOpenProjects() {
        QVERIFY(OpenFrame());
        CTrackData sound;
        sound.waveform = kSine;
        sound.volume = 345;
        QVERIFY(frame->PresetCommands().Library().Save("落とす", "正弦", sound,
                                                       CPresetLibrary::Overwrite::No));
        const auto entry = frame->PresetCommands().Library().Find("落とす", "正弦");
        QVERIFY(entry.has_value());
        const QString preset = QString::fromStdString(entry->file.string());
        CTrackWnd& rows = frame->TrackWnd();
        const QPoint at =
            frame->mapFromGlobal(rows.viewport()->mapToGlobal(rows.RowRect(0).center()));
        QVERIFY(Drop(at, preset));
        QVERIFY(RunUntil([&] { return frame->Edit().CanUndo(); }, 5000));
        QCOMPARE(frame->Edit().Project().tracks[0].settings.volume, 345);
        QCOMPARE(frame->Edit().Project().tracks[0].settings.waveform, int32_t(kSine));

        frame->Edit().SetModifiedFlag(false);
        const QString song = app->Folder() + QStringLiteral("/dropped.tqp");
        QVERIFY(WriteSong(MakeSong(3), song));
        QVERIFY(Drop(at, song));
        QVERIFY(RunUntil([&] { return !frame->Edit().CanUndo(); }, 5000));
        QCOMPARE(frame->Edit().Project().tracks[0].NoteCount(), size_t(3));
    }

    // [GIVEN] the browser shown [WHEN] the first track's row is dragged onto it and let go
    // over a category [THEN] the save dialog proposes that category and the track's name,
    // and the sound is saved there and chosen in the browser
    void RowDraggedOntoTheBrowserSavesIt() {
        QVERIFY(OpenFrame());
        QVERIFY(frame->RunCommand(cmd::kViewPresetBrowser));
        CPresetBrowser& browser = frame->PresetBrowser();
        CTrackData sound = frame->Edit().Project().tracks[0].settings;
        sound.name = "既存";
        QVERIFY(frame->PresetCommands().Library().Save("ドラッグ", "既存", sound,
                                                       CPresetLibrary::Overwrite::No));
        browser.Reload();
        QTreeWidget& tree = browser.Tree();
        QVERIFY(tree.topLevelItemCount() > 0);
        QTreeWidgetItem* category = nullptr;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            if (tree.topLevelItem(i)->text(0) == QStringLiteral("ドラッグ"))
                category = tree.topLevelItem(i);
        QVERIFY(category != nullptr);
        tree.scrollToItem(category);
        const QPoint target = tree.viewport()->mapToGlobal(tree.visualItemRect(category).center());

        QString proposed;
        QString name;
        dlgtest::OnNextModal(frame.get(), [&](QDialog* dialog) {
            auto* save = qobject_cast<CPresetSaveDialog*>(dialog);
            QVERIFY(save != nullptr);
            proposed = save->Category();
            name = save->Name();
            save->SetName(QStringLiteral("ドラッグした音"));
            dlgtest::Click(dlgtest::OkButton(save));
        });
        QWidget* rows = frame->TrackWnd().viewport();
        const QPoint start = frame->TrackWnd().RowRect(0).center();
        const QPoint end = rows->mapFromGlobal(target);
        QTest::mousePress(rows, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(rows, start + QPoint(10, 0));
        QTest::mouseMove(rows, end);
        QTest::mouseRelease(rows, Qt::LeftButton, Qt::NoModifier, end);
        QVERIFY(RunUntil([&] { return !name.isEmpty(); }, 5000));
        QCOMPARE(proposed, QStringLiteral("ドラッグ"));
        QCOMPARE(name, QString::fromStdString(frame->Edit().Project().tracks[0].settings.name));
        QVERIFY(frame->PresetCommands().Library().Find("ドラッグ", "ドラッグした音").has_value());
        QCOMPARE(browser.ChosenKey(), QStringLiteral("ドラッグ/ドラッグした音"));
        QVERIFY(!frame->Edit().CanUndo());
    }
};

} // namespace

std::unique_ptr<QObject> MakePresetFrameTest() {
    return std::make_unique<PresetFrameTest>();
}

#include "PresetFrameTest.moc"
