// A picture of the editor window with the demo song, kept as a build artefact for review
// (artifacts/main-window.png in the build folder). Skipped while the demo song is not built.

#include "UiTestSupport.h"
#include "UiTests.h"

#include "app/EditorLook.h"
#include "ui/CMainFrame.h"
#include "ui/pianoroll/CPianoRollWnd.h"
#include "ui/trackwnd/CTrackWnd.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

class ScreenshotTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowWithDemoSong() {
        const QString demo = QStringLiteral(TSQ_BINARY_DIR "/examples/demo.tqp");
        if (!QFileInfo::exists(demo))
            QSKIP("the demo song is not built");
        ApplyEditorLook(*qApp);
        TestApp app;
        ScriptedPrompts prompts;
        RecordingLauncher launcher;
        CMainFrame frame(app, &prompts, &launcher);
        QVERIFY(frame.OpenFile(demo));
        frame.resize(1280, 800);
        frame.ShowWindow(false);
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.PianoRollWnd().SetVerticalScroll(30);
        frame.PianoRollWnd().SetCaret(1920, 40);
        frame.TrackWnd().setCurrentRow(0);
        QTest::qWait(100);
        const QString folder = QStringLiteral(TSQ_BINARY_DIR "/artifacts");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(frame.grab().save(folder + "/main-window.png"));
        // Two menus beside it, to review captions, keys and icons.
        const QList<QAction*> menus = frame.menuBar()->actions();
        for (int index : {1, 5}) {
            QMenu* menu = menus.value(index)->menu();
            QVERIFY(menu != nullptr);
            frame.UpdateCommandStates();
            menu->popup(frame.mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QVERIFY(menu->grab().save(folder + QStringLiteral("/menu-%1.png").arg(index)));
            menu->hide();
        }
        QVERIFY(prompts.shown.isEmpty());
    }
};

std::unique_ptr<QObject> MakeScreenshotTest() {
    return std::make_unique<ScreenshotTest>();
}

#include "ScreenshotTest.moc"
