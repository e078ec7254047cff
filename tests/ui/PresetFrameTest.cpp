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
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class PresetFrameTest : public FrameTestBase {
    Q_OBJECT

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
