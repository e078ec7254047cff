#include "dialogs/CAdjustDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace {

QString Caption(CAdjustDialog::Kind kind) {
    switch (kind) {
    case CAdjustDialog::Kind::Position:
        return QCoreApplication::translate("CAdjustDialog", "位置の調整");
    case CAdjustDialog::Kind::Length:
        return QCoreApplication::translate("CAdjustDialog", "音長の調整");
    case CAdjustDialog::Kind::Volume:
        break;
    }
    return QCoreApplication::translate("CAdjustDialog", "音量の調整");
}

} // namespace

void CAdjustDialog::Ui::setupUi(QDialog* dialog, Kind kind) {
    dialog->setWindowTitle(Caption(kind));
    amount = new CNumberEdit(dialog);
    amount->setObjectName(QStringLiteral("amount"));
    auto* grid = new QGridLayout;
    if (kind == Kind::Volume) {
        amount->SetRange(-255, 255);
        grid->addWidget(dlg::MakeLabel(QCoreApplication::translate("CAdjustDialog", "増減(&I):"),
                                       amount, dialog),
                        0, 0);
        grid->addWidget(amount, 0, 1);
    } else {
        amount->SetRange(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        change =
            new QRadioButton(QCoreApplication::translate("CAdjustDialog", "増減(&I):"), dialog);
        change->setObjectName(QStringLiteral("change"));
        fit =
            new QRadioButton(QCoreApplication::translate("CAdjustDialog", "フィット(&F)"), dialog);
        fit->setObjectName(QStringLiteral("fit"));
        grid->addWidget(change, 0, 0);
        grid->addWidget(amount, 0, 1);
        grid->addWidget(fit, 1, 0, 1, 2);
        // The box stands right of its radio button and is named after it.
        amount->setAccessibleName(dlg::PlainCaption(change->text()));
        QWidget::setTabOrder(change, amount);
    }
    buttonBox = dlg::MakeButtonBox(dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(grid);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CAdjustDialog::CAdjustDialog(Kind kind, QWidget* parent) : QDialog(parent), m_kind(kind) {
    m_ui.setupUi(this, kind);
    if (m_ui.change != nullptr) {
        connect(m_ui.change, &QRadioButton::toggled, this, &CAdjustDialog::StabilizeForm);
        m_ui.change->setChecked(true);
    }
    SetAmount(0);
    StabilizeForm();
}

void CAdjustDialog::SetMode(int32_t mode) {
    if (m_ui.change == nullptr)
        return;
    (mode == kFit ? m_ui.fit : m_ui.change)->setChecked(true);
    StabilizeForm();
}

int32_t CAdjustDialog::GetMode() const {
    return m_ui.fit != nullptr && m_ui.fit->isChecked() ? kFit : kChange;
}

void CAdjustDialog::SetAmount(int32_t amount) {
    m_ui.amount->SetValue(amount);
}

int32_t CAdjustDialog::GetAmount() const {
    return static_cast<int32_t>(m_ui.amount->Value());
}

void CAdjustDialog::StabilizeForm() {
    m_ui.amount->setEnabled(GetMode() == kChange);
}
