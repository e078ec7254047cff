#pragma once
// "拍子": one time signature and the measure (from 1) where it starts. The caller sets the
// caption ("拍子の追加", "拍子の編集"). For the song's first signature the measure is fixed.

#include "model/CBeats.h"

#include <QDialog>

class CNumberEdit;
class QComboBox;
class QDialogButtonBox;
class QLabel;

class CBeatDialog : public QDialog {
    Q_OBJECT
public:
    explicit CBeatDialog(QWidget* parent = nullptr);

    // `beat.measure` is zero-based; the box shows it from 1.
    void SetBeat(const BEAT& beat);
    BEAT GetBeat() const;
    // The first signature always starts the song: the measure box shows 1 and is disabled.
    void SetFirst(bool first);

private:
    struct Ui {
        QLabel* measureLabel = nullptr;
        CNumberEdit* measure = nullptr;
        CNumberEdit* beat = nullptr;
        QComboBox* baseBeat = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    bool m_first = false;
};
