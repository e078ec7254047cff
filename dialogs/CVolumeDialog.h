#pragma once
// "音量": one master-volume change and its position.

#include "dialogs/CTimelineItemDialog.h"
#include "model/CVolumeList.h"

class CNumberEdit;

class CVolumeDialog : public CTimelineItemDialog {
    Q_OBJECT
public:
    explicit CVolumeDialog(QWidget* parent = nullptr);

    void SetVolume(const VOLUME& volume);
    VOLUME GetVolume() const;

private:
    CNumberEdit* m_volume;
};
