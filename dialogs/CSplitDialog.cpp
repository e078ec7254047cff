#include "dialogs/CSplitDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

void CSplitDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CSplitDialog", "分割"));
    count = new CNumberEdit(dialog);
    count->setObjectName(QStringLiteral("count"));
    count->SetRange(1, 256);
    buttonBox = dlg::MakeButtonBox(dialog);
    auto* form = new QFormLayout;
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CSplitDialog", "連符(&S):"), count, dialog),
        count);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CSplitDialog::CSplitDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    SetCount(2);
}

void CSplitDialog::SetCount(int32_t count) {
    m_ui.count->SetValue(count);
}

int32_t CSplitDialog::GetCount() const {
    return static_cast<int32_t>(m_ui.count->Value());
}
