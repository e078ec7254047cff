#include "dialogs/CVolumeDialog.h"

#include "dialogs/CNumberEdit.h"
#include "dialogs/CPositionEdit.h"
#include "dialogs/internal/DialogUtil.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

void CVolumeDialog::Ui::setupUi(QDialog* dialog) {
    dialog->setWindowTitle(QStringLiteral("音量"));
    position = new CPositionEdit(dialog);
    position->setObjectName(QStringLiteral("position"));
    volume = new CNumberEdit(dialog);
    volume->setObjectName(QStringLiteral("volume"));
    volume->SetRange(0, 255);
    positionLabel = dlg::MakeLabel(QStringLiteral("位置(&P):"), position, dialog);
    buttonBox = dlg::MakeButtonBox(dialog);
    auto* form = new QFormLayout;
    form->addRow(positionLabel, position);
    form->addRow(dlg::MakeLabel(QStringLiteral("音量(&V):"), volume, dialog), volume);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CVolumeDialog::CVolumeDialog(QWidget* parent) : QDialog(parent) {
    m_ui.setupUi(this);
    connect(m_ui.position, &QLineEdit::textChanged, this, &CVolumeDialog::StabilizeForm);
    SetVolume(VOLUME{});
}

void CVolumeDialog::SetBeats(const CBeats* beats) {
    m_ui.position->SetBeats(beats);
}

void CVolumeDialog::SetVolume(const VOLUME& volume) {
    m_ui.position->SetPosition(m_first ? 0 : volume.position);
    m_ui.volume->SetValue(volume.volume);
    StabilizeForm();
}

VOLUME CVolumeDialog::GetVolume() const {
    VOLUME volume;
    volume.position = m_first ? 0 : std::max(m_ui.position->GetPosition(), 0);
    volume.volume = static_cast<int32_t>(m_ui.volume->Value());
    return volume;
}

void CVolumeDialog::SetFirst(bool first) {
    m_first = first;
    if (first)
        m_ui.position->SetPosition(0);
    m_ui.position->setEnabled(!first);
    m_ui.positionLabel->setEnabled(!first);
    StabilizeForm();
}

void CVolumeDialog::StabilizeForm() {
    const bool valid = m_first || m_ui.position->GetPosition() >= 0;
    m_ui.buttonBox->button(QDialogButtonBox::Ok)->setEnabled(valid);
}
