#include "UiTestSupport.h"

#include "ui/CBuildController.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/PathUtil.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

std::optional<IUserPrompts::Answer> ScriptedPrompts::Ask(const QString& text, const QString& title,
                                                         Icon icon, Buttons buttons) {
    shown.append({text, title, icon, buttons});
    if (onMessage)
        onMessage(shown.last());
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}

QString ScriptedPrompts::OpenFileName(const FileRequest& request) {
    requests.append(request);
    return openNames.isEmpty() ? QString() : openNames.takeFirst();
}

QString ScriptedPrompts::SaveFileName(const FileRequest& request) {
    requests.append(request);
    return saveNames.isEmpty() ? QString() : saveNames.takeFirst();
}

QStringList ScriptedPrompts::Texts() const {
    QStringList texts;
    for (const SHOWN& s : shown)
        texts.append(s.text);
    return texts;
}

bool RecordingLauncher::OpenWithDefaultProgram(const QString& path) {
    calls.append("open " + path);
    return result;
}

bool RecordingLauncher::StartDetached(const QString& program, const QString& argument) {
    calls.append("start " + program + " " + argument);
    return result;
}

bool RecordingLauncher::ShowInFileManager(const QString& path, bool selectFile) {
    calls.append((selectFile ? "select " : "folder ") + path);
    return result;
}

TestApp::TestApp() : options(DefaultOptions()) {
    options.projectDefaultPath = m_dir.path().toStdString();
    options.buildThreads = 2;
    ResetSettings();
}

void TestApp::ResetSettings() {
    m_settings.reset();
    const QString path = m_dir.filePath("settings.ini");
    QFile::remove(path);
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

void UsePrivateHome(const QTemporaryDir& home) {
    qputenv("TSQ_AUDIO_DEVICE", "null");
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    qputenv("XDG_STATE_HOME", home.filePath("state").toUtf8());
    qputenv("TMPDIR", home.filePath("tmp").toUtf8());
    QDir().mkpath(home.filePath("tmp"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void UsePrivateSettings(const QTemporaryDir& home) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("config"));
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(5);
    return done();
}

bool FrameTestBase::OpenFrame() {
    app = std::make_unique<TestApp>();
    prompts = std::make_unique<ScriptedPrompts>();
    launcher = std::make_unique<RecordingLauncher>();
    frame = std::make_unique<CMainFrame>(*app, prompts.get(), launcher.get());
    frame->ShowWindow(false);
    return QTest::qWaitForWindowExposed(frame.get());
}

void FrameTestBase::CloseFrame() {
    if (frame != nullptr) {
        frame->Edit().SetModifiedFlag(false);
        frame->close();
    }
    frame.reset();
}

void FrameTestBase::SetSong(const CProject& song) {
    CEditController& edit = frame->Edit();
    edit.Edit(CEditController::kViewAll, [&](CProject& project) {
        project = song;
        edit.MarkAll();
    });
}

bool AwaitBuild(CBuildController& builds, const std::function<void()>& command, bool* ok,
                int timeoutMs) {
    QSignalSpy finished(&builds, &CBuildController::buildFinished);
    command();
    if (finished.isEmpty() && !finished.wait(timeoutMs))
        return false;
    if (ok != nullptr)
        *ok = finished.first().at(0).toBool();
    return finished.size() == 1;
}

CProject MakeSong(int count) {
    CProject song;
    song.Reset();
    for (int i = 0; i < count; ++i) {
        CNote note;
        note.position = i * 480;
        note.length = 480;
        note.key = 40 + i % 12;
        song.tracks[0].AddNote(note);
    }
    song.modified = 0;
    return song;
}

bool WriteSong(const CProject& song, const QString& path) {
    return static_cast<bool>(song.Save(ToFsPath(path)));
}
