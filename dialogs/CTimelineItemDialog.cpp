#include "dialogs/CTimelineItemDialog.h"

#include "dialogs/CPositionEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CTimelineItemDialog::CTimelineItemDialog(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    m_ui.position = new CPositionEdit(this);
    m_ui.position->setObjectName(QStringLiteral("position"));
    m_ui.positionLabel = dlg::MakeLabel(
        QCoreApplication::translate("CTimelineItemDialog", "位置(&P):"), m_ui.position, this);
    m_ui.form = new QFormLayout;
    m_ui.form->addRow(m_ui.positionLabel, m_ui.position);
}

void CTimelineItemDialog::AddValueRow(const QString& label, QWidget* value) {
    m_ui.form->addRow(dlg::MakeLabel(label, value, this), value);
    m_ui.buttonBox = dlg::MakeButtonBox(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_ui.form);
    layout->addWidget(m_ui.buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_ui.position, &QLineEdit::textChanged, this, &CTimelineItemDialog::StabilizeForm);
    StabilizeForm();
}

void CTimelineItemDialog::SetBeats(const CBeats* beats) {
    m_ui.position->SetBeats(beats);
}

void CTimelineItemDialog::SetFirst(bool first) {
    m_first = first;
    if (first)
        m_ui.position->SetPosition(0);
    m_ui.position->setEnabled(!first);
    m_ui.positionLabel->setEnabled(!first);
    StabilizeForm();
}

void CTimelineItemDialog::SetPosition(int32_t position) {
    m_ui.position->SetPosition(m_first ? 0 : position);
    StabilizeForm();
}

int32_t CTimelineItemDialog::Position() const {
    return m_first ? 0 : std::max(m_ui.position->GetPosition(), 0);
}

void CTimelineItemDialog::StabilizeForm() {
    const bool valid = m_first || m_ui.position->GetPosition() >= 0;
    m_ui.buttonBox->button(QDialogButtonBox::Ok)->setEnabled(valid);
}
