#include "app/CTSQApp.h"

#include "app/CAudioExportRunner.h"
#include "app/CEncodeDialog.h"
#include "app/CEncoderBridge.h"
#include "app/CRegisterFileTypeDialog.h"
#include "app/CTSQCommandLineInfo.h"
#include "audio/CEncode.h"
#include "audio/Sonalo.h"
#include "common/ClipboardFormats.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/COptionsDialog.h"
#include "dialogs/CProjectDialog.h"
#include "dialogs/SoundDialogs.h"
#include "model/CPCM.h"
#include "model/CTrackData.h"
#include "ui/CBuildController.h"
#include "ui/CEditController.h"
#include "ui/CMainFrame.h"
#include "ui/CMessagePrompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

constexpr const char* kDeleteQuestion = QT_TRANSLATE_NOOP("CTSQApp", "設定情報を削除しますか？");
constexpr const char* kProjectExtension = ".tqp";
constexpr const char* kProjectTypeName =
    QT_TRANSLATE_NOOP("CTSQApp", "Tesselaphon Editor プロジェクト");
constexpr int kProjectIcon = 1;

} // namespace

CTSQApp::CTSQApp(IUserPrompts* prompts)
    : m_prompts(prompts), m_options(DefaultOptions()), m_player(std::make_unique<Sonalo>()),
      m_applicationDirectory(QCoreApplication::applicationDirPath()) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    CPCM::SetDocumentsFolder(documents.toStdString());
}

CTSQApp::~CTSQApp() {
    Shutdown();
}

QStringList CTSQApp::ClipboardFormats() {
    return {kClipNote, kClipTrack, kClipWaveMemory, kClipFm};
}

std::optional<int> CTSQApp::Start(const QStringList& arguments) {
    LoadSettings();
    CTSQCommandLineInfo commandLine;
    commandLine.Parse(arguments);
    if (commandLine.deleteSettings) {
        m_deleteSettings = AskDeleteSettings();
        return 0;
    }
    m_frame = std::make_unique<CMainFrame>(*this, m_prompts);
    SetSoundDialogServices({&m_options, &m_store.Settings(), &m_customColors, [this] {
                                return m_frame != nullptr ? m_frame->Edit().Project().data
                                                          : m_defaultProject;
                            }});
    m_frame->Builds().SetEncoderFactory(
        [this] { return CEncoderBridge::Make(m_applicationDirectory, m_store.Settings()); });
    m_frame->Builds().SetAudioExportFactory([this] {
        return std::make_unique<CAudioExportRunner>(m_options.buildThreads, [this] {
            return std::make_unique<CEncode>(m_applicationDirectory, m_store.Settings());
        });
    });
    // A restored song is unsaved work: a file named on the command line must not replace it.
    if (!m_frame->OfferRecovery() && !commandLine.fileName.isEmpty())
        m_frame->OpenFile(commandLine.fileName);
    m_frame->ShowWindow(m_options.restoreWindow != 0);
    return std::nullopt;
}

void CTSQApp::LoadSettings() {
    m_store.LoadOptions(m_options);
    m_store.LoadDefaultProject(m_defaultProject);
    m_store.LoadCustomColors(m_customColors);
    m_player->SetVolume(m_store.LoadVolume());
    ApplyOptions();
}

// Values other parts of the program read on their own.
void CTSQApp::ApplyOptions() {
    CTrackData::SetDefaultNoteColor(m_options.crNote);
}

IUserPrompts& CTSQApp::Prompts() {
    if (m_prompts == nullptr) {
        m_ownPrompts = std::make_unique<CMessagePrompts>();
        m_prompts = m_ownPrompts.get();
    }
    return *m_prompts;
}

bool CTSQApp::AskDeleteSettings() {
    return Prompts().Message(QCoreApplication::translate("CTSQApp", kDeleteQuestion), {},
                             IUserPrompts::Icon::Question,
                             IUserPrompts::Buttons::YesNo) == IUserPrompts::Answer::Yes;
}

void CTSQApp::Shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    // A window the user has not closed yet (the program is ending for another reason)
    // still saves its layout and asks about unsaved changes.
    if (m_frame != nullptr && m_frame->isVisible())
        m_frame->close();
    SetSoundDialogServices({});
    m_frame.reset();
    SaveSettings();
    if (m_deleteSettings)
        m_store.RemoveAll();
}

void CTSQApp::SaveSettings() {
    m_store.SaveOptions(m_options);
    m_store.SaveDefaultProject(m_defaultProject);
    m_store.SaveCustomColors(m_customColors);
    const double volume = m_player->IsOpen() ? (m_player->GetDeviceVolume() & 0xFFFF) / 65535.0
                                             : m_player->GetVolume();
    m_store.SaveVolume(volume);
    if (!m_store.Flush())
        Prompts().Error(QCoreApplication::translate("CTSQApp", "%1 の保存に失敗しました。")
                            .arg(QDir::toNativeSeparators(m_store.Settings().fileName())));
}

bool CTSQApp::ShowAbout(QWidget* parent) {
    CAboutDlg dialog(parent);
    dialog.exec();
    return dialog.ManualRequested();
}

bool CTSQApp::EditOptions(QWidget* parent) {
    COptionsDialog dialog(parent);
    dialog.SetOptions(m_options);
    dialog.SetCustomColors(m_customColors);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_options = dialog.GetOptions();
    m_customColors = dialog.GetCustomColors();
    ApplyOptions();
    m_store.SaveOptions(m_options);
    return true;
}

void CTSQApp::EditDefaultProject(QWidget* parent) {
    CProjectDialog dialog(parent);
    dialog.SetProjectData(m_defaultProject);
    dialog.SetTempoListEnabled(false);
    dialog.SetBeatListEnabled(false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_defaultProject = dialog.GetProjectData();
    m_store.SaveDefaultProject(m_defaultProject);
}

void CTSQApp::EditEncoderOptions(QWidget* parent) {
    CEncode encode(m_applicationDirectory, m_store.Settings());
    CEncodeDialog dialog(encode, parent);
    dialog.exec();
}

void CTSQApp::RegisterFileType(QWidget* parent) {
    const QString extension = QString::fromLatin1(kProjectExtension);
    const CFileTypeRegistry registry(QCoreApplication::applicationFilePath(), extension,
                                     QCoreApplication::translate("CTSQApp", kProjectTypeName),
                                     kProjectIcon);
    CRegisterFileTypeDialog dialog(registry, extension, Prompts(), parent);
    dialog.exec();
}
