#include "ui/CManualWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 900;
constexpr int kHeight = 700;
} // namespace

CManualWindow::CManualWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("manualWindow"));
    setWindowTitle(tr("Tesselaphon Editor マニュアル"));
    m_browser->setObjectName(QStringLiteral("manualBrowser"));
    // Links out of the manual (the maker's page) go to the desktop; those within it stay.
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(kWidth, kHeight);
}

void CManualWindow::ShowPage(const QString& path) {
    m_browser->setSource(QUrl::fromLocalFile(path));
}
