#pragma once
// "音量": one master-volume change and its position. The caller sets the caption
// ("音量の追加", "音量の編集"). For the song's first volume the position is fixed at 0.

#include "model/CVolumeList.h"

#include <QDialog>

class CBeats;
class CNumberEdit;
class CPositionEdit;
class QDialogButtonBox;
class QLabel;

class CVolumeDialog : public QDialog {
    Q_OBJECT
public:
    explicit CVolumeDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    void SetVolume(const VOLUME& volume);
    VOLUME GetVolume() const;
    void SetFirst(bool first);

private:
    void StabilizeForm();

    struct Ui {
        QLabel* positionLabel = nullptr;
        CPositionEdit* position = nullptr;
        CNumberEdit* volume = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    bool m_first = false;
};
