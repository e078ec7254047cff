#include "dialogs/CBeatDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <limits>

void CBeatDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QCoreApplication::translate("CBeatDialog", "拍子"));
    measure = new CNumberEdit(dialog);
    measure->setObjectName(QStringLiteral("measure"));
    measure->SetRange(1, std::numeric_limits<int32_t>::max());
    beat = new CNumberEdit(dialog);
    beat->setObjectName(QStringLiteral("beat"));
    beat->SetRange(1, 64);
    baseBeat = new QComboBox(dialog);
    baseBeat->setObjectName(QStringLiteral("baseBeat"));
    baseBeat->addItems(dlg::BaseBeatItems());
    measureLabel =
        dlg::MakeLabel(QCoreApplication::translate("CBeatDialog", "小節(&M):"), measure, dialog);
    buttonBox = dlg::MakeButtonBox(dialog);

    auto* grid = new QGridLayout;
    grid->addWidget(measureLabel, 0, 0);
    grid->addWidget(measure, 0, 1, 1, 3);
    grid->addWidget(
        dlg::MakeLabel(QCoreApplication::translate("CBeatDialog", "拍子(&B):"), beat, dialog), 1,
        0);
    grid->addWidget(beat, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("/"), dialog), 1, 2);
    grid->addWidget(baseBeat, 1, 3);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(grid);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CBeatDialog::CBeatDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    SetBeat(BEAT{});
}

void CBeatDialog::SetBeat(const BEAT& beat) {
    m_ui.measure->SetValue(int64_t{beat.measure} + 1);
    m_ui.beat->SetValue(beat.beat);
    m_ui.baseBeat->setCurrentIndex(dlg::BaseBeatIndex(beat.baseBeat));
}

BEAT CBeatDialog::GetBeat() const {
    BEAT beat;
    beat.measure = m_first ? 0 : static_cast<int32_t>(m_ui.measure->Value() - 1);
    beat.beat = static_cast<int32_t>(m_ui.beat->Value());
    beat.baseBeat = dlg::BaseBeatFromIndex(m_ui.baseBeat->currentIndex());
    return beat;
}

void CBeatDialog::SetFirst(bool first) {
    m_first = first;
    if (first)
        m_ui.measure->SetValue(1);
    m_ui.measure->setEnabled(!first);
    m_ui.measureLabel->setEnabled(!first);
}
