#include "dialogs/CTempoDialog.h"

#include "dialogs/CDecimalEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

void CTempoDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QStringLiteral("テンポ"));
    position = new CPositionEdit(dialog);
    position->setObjectName(QStringLiteral("position"));
    tempo = new CDecimalEdit(dialog);
    tempo->setObjectName(QStringLiteral("tempo"));
    tempo->SetRange(10.0, 1000.0);
    positionLabel = dlg::MakeLabel(QStringLiteral("位置(&P):"), position, dialog);
    buttonBox = dlg::MakeButtonBox(dialog);
    auto* form = new QFormLayout;
    form->addRow(positionLabel, position);
    form->addRow(dlg::MakeLabel(QStringLiteral("テンポ(&T):"), tempo, dialog), tempo);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CTempoDialog::CTempoDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    connect(m_ui.position, &QLineEdit::textChanged, this, &CTempoDialog::StabilizeForm);
    SetTempo(TEMPO{});
}

void CTempoDialog::SetBeats(const CBeats* beats) {
    m_ui.position->SetBeats(beats);
}

void CTempoDialog::SetTempo(const TEMPO& tempo) {
    m_ui.position->SetPosition(m_first ? 0 : tempo.position);
    m_ui.tempo->SetValue(tempo.tempo);
    StabilizeForm();
}

TEMPO CTempoDialog::GetTempo() const {
    TEMPO tempo;
    tempo.position = m_first ? 0 : std::max(m_ui.position->GetPosition(), 0);
    tempo.tempo = m_ui.tempo->Value();
    return tempo;
}

void CTempoDialog::SetFirst(bool first) {
    m_first = first;
    if (first)
        m_ui.position->SetPosition(0);
    m_ui.position->setEnabled(!first);
    m_ui.positionLabel->setEnabled(!first);
    StabilizeForm();
}

void CTempoDialog::StabilizeForm() {
    const bool valid = m_first || m_ui.position->GetPosition() >= 0;
    m_ui.buttonBox->button(QDialogButtonBox::Ok)->setEnabled(valid);
}
