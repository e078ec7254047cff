#include "dialogs/CMeasureDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include <limits>

namespace {
constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
} // namespace

void CMeasureDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CMeasureDialog", "小節"));
    measure = new CNumberEdit(dialog);
    measure->setObjectName(QStringLiteral("measure"));
    measure->SetRange(1, kMax);
    count = new CNumberEdit(dialog);
    count->setObjectName(QStringLiteral("count"));
    count->SetRange(1, kMax);
    buttonBox = dlg::MakeButtonBox(dialog);
    auto* form = new QFormLayout;
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CMeasureDialog", "小節(&M):"), measure, dialog),
        measure);
    form->addRow(
        dlg::MakeLabel(QCoreApplication::translate("CMeasureDialog", "小節数(&C):"), count, dialog),
        count);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CMeasureDialog::CMeasureDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    SetMeasure(1);
    SetCount(1);
}

void CMeasureDialog::SetMeasure(int32_t measure) {
    m_ui.measure->SetValue(measure);
}

void CMeasureDialog::SetCount(int32_t count) {
    m_ui.count->SetValue(count);
}

int32_t CMeasureDialog::GetMeasure() const {
    return static_cast<int32_t>(m_ui.measure->Value());
}

int32_t CMeasureDialog::GetCount() const {
    return static_cast<int32_t>(m_ui.count->Value());
}
