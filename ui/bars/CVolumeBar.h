#pragma once
// The play bar's volume bar: the editor's output volume in percent (0–100). Its tool tip
// shows "音量 %d" with the current value.

#include "ui/widgets/CSeekBar.h"

class CVolumeBar : public CSeekBar {
    Q_OBJECT
public:
    explicit CVolumeBar(QWidget* parent = nullptr);

    QString ToolTipText(const QPoint& pos) const override;
    QString ValueText() const override;
};
