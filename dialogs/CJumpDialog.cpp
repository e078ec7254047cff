#include "dialogs/CJumpDialog.h"

#include "dialogs/CPositionEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

void CJumpDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CJumpDialog", "ジャンプ"));
    position = new CPositionEdit(dialog);
    position->setObjectName(QStringLiteral("position"));
    buttonBox = dlg::MakeButtonBox(dialog);
    auto* form = new QFormLayout;
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CJumpDialog", "位置(&P):"), position, dialog),
        position);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CJumpDialog::CJumpDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    connect(m_ui.position, &QLineEdit::textChanged, this, &CJumpDialog::StabilizeForm);
    StabilizeForm();
}

void CJumpDialog::SetBeats(const CBeats* beats) {
    m_ui.position->SetBeats(beats);
}

void CJumpDialog::SetPosition(int32_t tick) {
    m_ui.position->SetPosition(tick);
}

int32_t CJumpDialog::GetPosition() const {
    return m_ui.position->GetPosition();
}

void CJumpDialog::StabilizeForm() {
    m_ui.buttonBox->button(QDialogButtonBox::Ok)->setEnabled(GetPosition() >= 0);
}
