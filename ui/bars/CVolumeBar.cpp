#include "ui/bars/CVolumeBar.h"

CVolumeBar::CVolumeBar(QWidget* parent) : CSeekBar(parent) {
    setObjectName("volumeBar");
    setAccessibleName(tr("音量"));
    setAccessibleDescription(tr("エディタの出力の音量です (0～100)。"));
    setRange(0, 100);
    setPageStep(10);
}

QString CVolumeBar::ToolTipText(const QPoint&) const {
    return ValueText();
}

QString CVolumeBar::ValueText() const {
    return tr("音量 %1").arg(value());
}
