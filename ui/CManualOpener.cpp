#include "ui/CManualOpener.h"

#include "ui/IDesktopLauncher.h"
#include "ui/IUserPrompts.h"
#include "ui/ManualLocation.h"

#include <QCoreApplication>
#include <QDir>

CManualOpener::CManualOpener(IDesktopLauncher& launcher, IUserPrompts& prompts, QWidget& window,
                             QString programFolder)
    : m_launcher(launcher), m_prompts(prompts), m_parent(window),
      m_programFolder(std::move(programFolder)) {
}

void CManualOpener::Open() {
    const QString page = manuallocation::IndexPage(m_programFolder, m_language);
    if (page.isEmpty()) {
        QStringList folders;
        for (const QString& folder : manuallocation::Candidates(m_programFolder))
            folders << QDir::toNativeSeparators(folder);
        m_prompts.Error(
            QCoreApplication::translate(
                "CManualOpener", "マニュアルが見つかりません。\n次のフォルダにあるはずです:\n%1")
                .arg(folders.join(u'\n')));
        return;
    }
    if (!m_launcher.OpenWithDefaultProgram(page))
        ShowInOwnWindow(page);
}

// One window serves every later request, brought to the front again.
void CManualOpener::ShowInOwnWindow(const QString& page) {
    if (m_window == nullptr)
        m_window = new CManualWindow(&m_parent);
    m_window->ShowPage(page);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
