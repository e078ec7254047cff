#include "ui/bars/CVolumeBar.h"

CVolumeBar::CVolumeBar(QWidget* parent) : CSeekBar(parent) {
    setObjectName("volumeBar");
    setRange(0, 100);
    setPageStep(10);
}

QString CVolumeBar::ToolTipText(const QPoint&) const {
    return tr("音量 %1").arg(value());
}
