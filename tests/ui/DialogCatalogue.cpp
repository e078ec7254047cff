#include "DialogCatalogue.h"

#include "UiTestSupport.h"

#include "app/CAudioExportDialog.h"
#include "app/CEncodeDialog.h"
#include "app/CEncodeProgressDialog.h"
#include "app/CFileTypeRegistry.h"
#include "app/CRegisterFileTypeDialog.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CAdjustDialog.h"
#include "dialogs/CBeatDialog.h"
#include "dialogs/CBeatListDialog.h"
#include "dialogs/CFMDialog.h"
#include "dialogs/CFindDialog.h"
#include "dialogs/CJumpDialog.h"
#include "dialogs/CLFODialog.h"
#include "dialogs/CLoopDialog.h"
#include "dialogs/CMeasureDialog.h"
#include "dialogs/CNoteDialog.h"
#include "dialogs/COptionsDialog.h"
#include "dialogs/CPCMDialog.h"
#include "dialogs/CPresetSaveDialog.h"
#include "dialogs/CProjectDialog.h"
#include "dialogs/CSplitDialog.h"
#include "dialogs/CTempoDialog.h"
#include "dialogs/CTempoListDialog.h"
#include "dialogs/CTrackDialog.h"
#include "dialogs/CVolumeDialog.h"
#include "dialogs/CVolumeListDialog.h"
#include "dialogs/CWaveMemoryDialog.h"
#include "ui/CBuildProgressDialog.h"

#include <QTabWidget>

namespace {

template <class Dialog, class... Args>
std::function<std::unique_ptr<QDialog>()> Make(Args... args) {
    return [args...] { return std::unique_ptr<QDialog>(new Dialog(args...)); };
}

} // namespace

DialogCatalogue::DialogCatalogue()
    : m_settings(m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat),
      m_encode(m_dir.path(), m_settings, {}), m_prompts(std::make_unique<ScriptedPrompts>()),
      m_registry(std::make_unique<CFileTypeRegistry>(QStringLiteral("/usr/bin/tsq"),
                                                     QStringLiteral("tqp"), QString(), 1)) {
    AddSongDialogs();
    AddSoundDialogs();
    AddShellDialogs();
}

DialogCatalogue::~DialogCatalogue() = default;

void DialogCatalogue::AddSongDialogs() {
    m_entries.push_back(
        {"CAdjustDialog(Position)", Make<CAdjustDialog>(CAdjustDialog::Kind::Position)});
    m_entries.push_back(
        {"CAdjustDialog(Length)", Make<CAdjustDialog>(CAdjustDialog::Kind::Length)});
    m_entries.push_back(
        {"CAdjustDialog(Volume)", Make<CAdjustDialog>(CAdjustDialog::Kind::Volume)});
    m_entries.push_back({"CBeatDialog", Make<CBeatDialog>()});
    m_entries.push_back({"CBeatListDialog", Make<CBeatListDialog>()});
    m_entries.push_back({"CFindDialog", Make<CFindDialog>()});
    m_entries.push_back({"CJumpDialog", Make<CJumpDialog>()});
    m_entries.push_back({"CLoopDialog", Make<CLoopDialog>()});
    m_entries.push_back({"CMeasureDialog", Make<CMeasureDialog>()});
    m_entries.push_back({"CNoteDialog", Make<CNoteDialog>()});
    m_entries.push_back({"CProjectDialog", Make<CProjectDialog>()});
    m_entries.push_back({"CSplitDialog", Make<CSplitDialog>()});
    m_entries.push_back({"CTempoDialog", Make<CTempoDialog>()});
    m_entries.push_back({"CTempoListDialog", Make<CTempoListDialog>()});
    m_entries.push_back({"CVolumeDialog", Make<CVolumeDialog>()});
    m_entries.push_back({"CVolumeListDialog", Make<CVolumeListDialog>()});
}

void DialogCatalogue::AddSoundDialogs() {
    const OPTIONS& options = m_options;
    m_entries.push_back(
        {"CTrackDialog", [] { return std::unique_ptr<QDialog>(new CTrackDialog()); }});
    m_entries.push_back({"CLFODialog", Make<CLFODialog>()});
    m_entries.push_back(
        {"CPCMDialog", [&options] { return std::unique_ptr<QDialog>(new CPCMDialog(options)); }});
    m_entries.push_back(
        {"CFMDialog", [&options] { return std::unique_ptr<QDialog>(new CFMDialog(options)); }});
    m_entries.push_back({"CWaveMemoryDialog", [this] {
                             return std::unique_ptr<QDialog>(
                                 new CWaveMemoryDialog(m_options, &m_settings));
                         }});
    m_entries.push_back({"CPresetSaveDialog", Make<CPresetSaveDialog>()});
}

void DialogCatalogue::AddShellDialogs() {
    m_entries.push_back({"COptionsDialog", Make<COptionsDialog>()});
    m_entries.push_back({"CAboutDlg", Make<CAboutDlg>()});
    m_entries.push_back({"CAudioExportDialog", Make<CAudioExportDialog>(true)});
    m_entries.push_back({"CEncodeDialog",
                         [this] { return std::unique_ptr<QDialog>(new CEncodeDialog(m_encode)); }});
    m_entries.push_back({"CEncodeProgressDialog", [] {
                             return std::unique_ptr<QDialog>(new CEncodeProgressDialog(nullptr));
                         }});
    m_entries.push_back({"CBuildProgressDialog", [] {
                             return std::unique_ptr<QDialog>(new CBuildProgressDialog(nullptr));
                         }});
    m_entries.push_back({"CRegisterFileTypeDialog", [this] {
                             return std::unique_ptr<QDialog>(new CRegisterFileTypeDialog(
                                 *m_registry, QStringLiteral("tqp"), *m_prompts));
                         }});
}

void OnEveryPage(QWidget* window, const std::function<void()>& check) {
    check();
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        for (int page = 1; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            check();
        }
        tabs->setCurrentIndex(0);
    }
}
