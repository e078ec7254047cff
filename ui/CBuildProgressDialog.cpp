#include "ui/CBuildProgressDialog.h"

#include "ui/BuildTexts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

CBuildProgressDialog::CBuildProgressDialog(QWidget* mainWindow)
    : QDialog(mainWindow), m_mainWindow(mainWindow), m_text(new QLabel(this)),
      m_remaining(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_abort(new QPushButton(tr("中止(&A)"), this)) {
    setObjectName("buildProgress");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setModal(false);
    m_text->setMinimumWidth(m_text->fontMetrics().horizontalAdvance(QString(40, QChar(0x3042))));
    m_text->setWordWrap(true);
    m_bar->setTextVisible(true);
    m_abort->setEnabled(false);
    m_abort->setAutoDefault(false);
    connect(m_abort, &QPushButton::clicked, this, &CBuildProgressDialog::OnAbort);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_remaining, 1);
    buttons->addWidget(m_abort);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CBuildProgressDialog::Begin() {
    setWindowTitle(BuildText(BuildTexts::kTitle));
    m_text->setText(BuildText(BuildTexts::kLoadingSamples));
    m_remaining->clear();
    m_bar->setRange(0, 0);
    m_abort->setEnabled(false);
    m_cancelled = false;
    m_begun = true;
    if (m_mainWindow != nullptr) {
        m_mainTitle = m_mainWindow->windowTitle();
        m_shownTitle = m_mainTitle;
        m_mainWindow->setEnabled(false);
        // Disabling a window disables the windows it owns too; this one must stay usable.
        setEnabled(true);
    }
    adjustSize();
    if (m_mainWindow != nullptr)
        move(m_mainWindow->frameGeometry().center() - rect().center());
    show();
    raise();
}

void CBuildProgressDialog::ShowProgress(const BuildProgress& progress) {
    if (progress.phase == BuildPhase::Rendering) {
        ShowRendering(progress);
        return;
    }
    m_text->setText(BuildText(BuildTexts::kLoadingSamples));
    m_bar->setRange(0, 0);
    m_abort->setEnabled(false);
}

void CBuildProgressDialog::End() {
    hide();
    if (!std::exchange(m_begun, false) || m_mainWindow == nullptr)
        return;
    m_mainWindow->setEnabled(true);
    if (m_mainWindow->windowTitle() == m_shownTitle)
        m_mainWindow->setWindowTitle(m_mainTitle);
}

void CBuildProgressDialog::ShowRendering(const BuildProgress& progress) {
    const int maximum = std::max(progress.secondsTotal, 1);
    m_bar->setRange(0, maximum);
    m_bar->setValue(std::clamp(progress.secondsDone, 0, maximum));
    m_abort->setEnabled(!m_cancelled);
    if (progress.secondsLeft < 0) {
        m_text->setText(BuildText(BuildTexts::kBuilding));
    } else {
        m_text->setText(BuildText(BuildTexts::kRemaining).arg(progress.secondsLeft));
        m_remaining->setText(RemainingText(progress.secondsLeft));
    }
    ShowPercentInTitle();
}

QString CBuildProgressDialog::RemainingText(int64_t seconds) const {
    const int64_t minutes = seconds / 60;
    return minutes > 0 ? tr("残り約 %1 分 %2 秒").arg(minutes).arg(seconds % 60, 2, 10, QChar('0'))
                       : tr("残り約 %1 秒").arg(seconds);
}

// The window's close button and Escape mean the same as the abort button while it is
// enabled; the window itself stays until the build has ended.
void CBuildProgressDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_abort->isEnabled())
        OnAbort();
}

void CBuildProgressDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (m_abort->isEnabled())
            OnAbort();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CBuildProgressDialog::OnAbort() {
    m_cancelled = true;
    m_abort->setEnabled(false);
    emit abortRequested();
}

void CBuildProgressDialog::ShowPercentInTitle() {
    const int maximum = m_bar->maximum();
    if (maximum <= 0 || m_mainWindow == nullptr || !m_begun)
        return;
    // A title the window got meanwhile (an edit marks the song modified) is the one to show.
    if (const QString current = m_mainWindow->windowTitle(); current != m_shownTitle)
        m_mainTitle = current;
    const int percent = static_cast<int>(int64_t{m_bar->value()} * 100 / maximum);
    m_shownTitle = QStringLiteral("[%1%] %2").arg(percent).arg(m_mainTitle);
    m_mainWindow->setWindowTitle(m_shownTitle);
}
