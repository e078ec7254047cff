#pragma once
// The test classes of the editor window, run one after another by UiTestMain.

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

std::unique_ptr<QObject> MakeEditPathTest();
std::unique_ptr<QObject> MakeDocumentTest();
std::unique_ptr<QObject> MakeFrameCommandsTest();
std::unique_ptr<QObject> MakeMenuLayoutTest();
std::unique_ptr<QObject> MakeBuildPlayTest();
std::unique_ptr<QObject> MakeBackgroundBuildTest();
std::unique_ptr<QObject> MakeAppSettingsTest();
std::unique_ptr<QObject> MakeScreenshotTest();
std::unique_ptr<QObject> MakeMessagePromptsTest();
std::unique_ptr<QObject> MakePresetFrameTest();
std::unique_ptr<QObject> MakeRecoveryTest();
std::unique_ptr<QObject> MakeRecoveryProcessTest();
std::unique_ptr<QObject> MakeLivePlaybackTest();
std::unique_ptr<QObject> MakeRecordTest();
std::unique_ptr<QObject> MakeManualTest();
std::unique_ptr<QObject> MakeManualPicturesTest();

inline std::vector<std::function<std::unique_ptr<QObject>()>> UiTestClasses() {
    return {MakeEditPathTest,      MakeDocumentTest,   MakeFrameCommandsTest,
            MakeMenuLayoutTest,    MakeBuildPlayTest,  MakeBackgroundBuildTest,
            MakeAppSettingsTest,   MakeScreenshotTest, MakeMessagePromptsTest,
            MakePresetFrameTest,   MakeRecoveryTest,   MakeRecoveryProcessTest,
            MakeLivePlaybackTest,  MakeRecordTest,     MakeManualTest,
            MakeManualPicturesTest};
}
