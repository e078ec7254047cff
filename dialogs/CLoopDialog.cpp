#include "dialogs/CLoopDialog.h"

#include "dialogs/CPositionEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

void CLoopDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CLoopDialog", "無限ループの設定"));
    enabled = new QCheckBox(
        QCoreApplication::translate("CLoopDialog", "無限ループを有効にする(&L)"), dialog);
    enabled->setObjectName(QStringLiteral("enabled"));
    start = new CPositionEdit(dialog);
    start->setObjectName(QStringLiteral("start"));
    end = new CPositionEdit(dialog);
    end->setObjectName(QStringLiteral("end"));
    startLabel =
        dlg::MakeLabel(QCoreApplication::translate("CLoopDialog", "開始位置(&S):"), start, dialog);
    endLabel =
        dlg::MakeLabel(QCoreApplication::translate("CLoopDialog", "終了位置(&E):"), end, dialog);
    buttonBox = dlg::MakeButtonBox(dialog);

    auto* form = new QFormLayout;
    form->addRow(startLabel, start);
    form->addRow(endLabel, end);
    form->setContentsMargins(20, 0, 0, 0);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(enabled);
    layout->addLayout(form);
    layout->addSpacing(6);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CLoopDialog::CLoopDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    connect(m_ui.enabled, &QCheckBox::toggled, this, &CLoopDialog::StabilizeForm);
    connect(m_ui.start, &CPositionEdit::Left, this, &CLoopDialog::RaiseEnd);
    connect(m_ui.end, &CPositionEdit::Left, this, &CLoopDialog::RaiseEnd);
    SetLoopStart(0);
    SetLoopEnd(0);
    StabilizeForm();
}

void CLoopDialog::SetBeats(const CBeats* beats) {
    m_ui.start->SetBeats(beats);
    m_ui.end->SetBeats(beats);
}

void CLoopDialog::SetLoopEnabled(bool enabled) {
    m_ui.enabled->setChecked(enabled);
    StabilizeForm();
}

void CLoopDialog::SetLoopStart(int32_t tick) {
    m_ui.start->SetPosition(tick);
}

void CLoopDialog::SetLoopEnd(int32_t tick) {
    m_ui.end->SetPosition(tick);
}

bool CLoopDialog::IsLoopEnabled() const {
    return m_ui.enabled->isChecked();
}

int32_t CLoopDialog::GetLoopStart() const {
    return std::max(m_ui.start->GetPosition(), 0);
}

int32_t CLoopDialog::GetLoopEnd() const {
    return std::max(m_ui.end->GetPosition(), GetLoopStart());
}

void CLoopDialog::RaiseEnd() {
    const int32_t start = m_ui.start->GetPosition();
    if (start >= 0 && m_ui.end->GetPosition() < start)
        m_ui.end->SetPosition(start);
    StabilizeForm();
}

void CLoopDialog::StabilizeForm() {
    const bool on = IsLoopEnabled();
    for (QWidget* w : {static_cast<QWidget*>(m_ui.startLabel), static_cast<QWidget*>(m_ui.start),
                       static_cast<QWidget*>(m_ui.endLabel), static_cast<QWidget*>(m_ui.end)})
        w->setEnabled(on);
}
