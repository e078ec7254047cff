#include "ui/CBuildProgressDialog.h"

#include "ui/IUserPrompts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CBuildProgressDialog::CBuildProgressDialog(QWidget* mainWindow, IUserPrompts& prompts)
    : QDialog(mainWindow), m_mainWindow(mainWindow), m_prompts(prompts), m_text(new QLabel(this)),
      m_remaining(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_abort(new QPushButton(QStringLiteral("中止(&A)"), this)) {
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

CBuildProgressDialog::~CBuildProgressDialog() {
    if (m_mainWindow != nullptr && !m_mainTitle.isEmpty())
        m_mainWindow->setWindowTitle(m_mainTitle);
}

void CBuildProgressDialog::EnableMainWindow(bool enable) {
    if (m_mainWindow == nullptr)
        return;
    m_mainWindow->setEnabled(enable);
    // Disabling a window disables the windows it owns too; this one must stay usable.
    setEnabled(true);
}

void CBuildProgressDialog::ShowProgress(const std::string& title, const std::string& text) {
    setWindowTitle(QString::fromStdString(title));
    m_text->setText(QString::fromStdString(text));
    m_remaining->clear();
    m_bar->setRange(0, 0);
    m_abort->setEnabled(false);
    m_cancelled = false;
    if (m_mainWindow != nullptr)
        m_mainTitle = m_mainWindow->windowTitle();
    adjustSize();
    if (m_mainWindow != nullptr)
        move(m_mainWindow->frameGeometry().center() - rect().center());
    show();
    raise();
    QCoreApplication::processEvents();
}

void CBuildProgressDialog::CloseProgress() {
    hide();
    if (m_mainWindow != nullptr && !m_mainTitle.isEmpty())
        m_mainWindow->setWindowTitle(m_mainTitle);
    m_mainTitle.clear();
}

void CBuildProgressDialog::SetProgressText(const std::string& text) {
    m_text->setText(QString::fromStdString(text));
}

void CBuildProgressDialog::SetProgressRange(int32_t maximum) {
    m_bar->setRange(0, std::max(maximum, 1));
    m_bar->setValue(0);
    ShowPercentInTitle();
}

void CBuildProgressDialog::StepProgress() {
    m_bar->setValue(std::min(m_bar->value() + 1, m_bar->maximum()));
    ShowPercentInTitle();
}

void CBuildProgressDialog::SetRemainingSeconds(int64_t seconds) {
    const int64_t minutes = seconds / 60;
    m_remaining->setText(
        minutes > 0
            ? QStringLiteral("残り約 %1 分 %2 秒").arg(minutes).arg(seconds % 60, 2, 10, QChar('0'))
            : QStringLiteral("残り約 %1 秒").arg(seconds));
}

void CBuildProgressDialog::EnableAbort(bool enable) {
    m_abort->setEnabled(enable && !m_cancelled);
}

IBuildObserver::SampleAnswer CBuildProgressDialog::AskSampleFailure(const std::string& title,
                                                                    const std::string& text,
                                                                    const std::string&) {
    switch (m_prompts.Message(QString::fromStdString(text), QString::fromStdString(title),
                              IUserPrompts::Icon::Warning,
                              IUserPrompts::Buttons::AbortRetryIgnore)) {
    case IUserPrompts::Answer::Retry:
        return SampleAnswer::Retry;
    case IUserPrompts::Answer::Ignore:
        return SampleAnswer::Ignore;
    default:
        return SampleAnswer::Abort;
    }
}

void CBuildProgressDialog::ShowOutputError(const std::string& title, const std::string& text) {
    m_prompts.Message(QString::fromStdString(text), QString::fromStdString(title),
                      IUserPrompts::Icon::Warning, IUserPrompts::Buttons::Ok);
}

void CBuildProgressDialog::Pump() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// The window's close button and Escape mean the same as the abort button while it is
// enabled; the window itself stays until the build closes it.
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
}

void CBuildProgressDialog::ShowPercentInTitle() {
    const int maximum = m_bar->maximum();
    if (maximum <= 0)
        return;
    const int percent = static_cast<int>(int64_t{m_bar->value()} * 100 / maximum);
    if (m_mainWindow != nullptr && !m_mainTitle.isEmpty())
        m_mainWindow->setWindowTitle(QStringLiteral("[%1%] %2").arg(percent).arg(m_mainTitle));
}
