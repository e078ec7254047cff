#include "dialogs/CVolumeDialog.h"

#include "dialogs/CNumberEdit.h"
#include <QCoreApplication>

CVolumeDialog::CVolumeDialog(QWidget* parent)
    : CTimelineItemDialog(QCoreApplication::translate("CVolumeDialog", "音量"), parent),
      m_volume(new CNumberEdit(this)) {
    m_volume->setObjectName(QStringLiteral("volume"));
    m_volume->SetRange(0, 255);
    AddValueRow(QCoreApplication::translate("CVolumeDialog", "音量(&V):"), m_volume);
    SetVolume(VOLUME{});
}

void CVolumeDialog::SetVolume(const VOLUME& volume) {
    SetPosition(volume.position);
    m_volume->SetValue(volume.volume);
}

VOLUME CVolumeDialog::GetVolume() const {
    VOLUME volume;
    volume.position = Position();
    volume.volume = static_cast<int32_t>(m_volume->Value());
    return volume;
}
