#include "app/CEncodeProgressDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kBarRange = 1000;

} // namespace

CEncodeProgressDialog::CEncodeProgressDialog(QWidget* mainWindow)
    : QDialog(mainWindow), m_mainWindow(mainWindow), m_bar(new QProgressBar(this)),
      m_abort(
          new QPushButton(QCoreApplication::translate("CEncodeProgressDialog", "中止(&A)"), this)) {
    setWindowTitle(QCoreApplication::translate("CEncodeProgressDialog", "エンコード"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QCoreApplication::translate("CEncodeProgressDialog", "エンコードしています。"), this));
    m_bar->setRange(0, kBarRange);
    m_bar->setValue(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_abort, 0, Qt::AlignCenter);
    connect(m_abort, &QPushButton::clicked, this, &CEncodeProgressDialog::OnAbort);
    if (m_mainWindow != nullptr) {
        m_mainWindow->setEnabled(false);
        // The dialog itself must stay usable while its parent is disabled.
        setEnabled(true);
        adjustSize();
        move(m_mainWindow->geometry().center() - rect().center());
    }
    show();
    QApplication::processEvents();
}

CEncodeProgressDialog::~CEncodeProgressDialog() {
    if (m_mainWindow != nullptr)
        m_mainWindow->setEnabled(true);
}

bool CEncodeProgressDialog::Update(double fraction) {
    QApplication::processEvents();
    m_bar->setValue(std::clamp(int(fraction * kBarRange), 0, kBarRange));
    return !m_cancelled;
}

void CEncodeProgressDialog::OnAbort() {
    m_cancelled = true;
    m_abort->setEnabled(false);
}

// Closing the window or pressing Escape means abort, never a hidden encoding.
void CEncodeProgressDialog::closeEvent(QCloseEvent* event) {
    OnAbort();
    event->ignore();
}

void CEncodeProgressDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        OnAbort();
        return;
    }
    QDialog::keyPressEvent(event);
}
