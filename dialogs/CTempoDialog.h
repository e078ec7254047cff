#pragma once
// "テンポ": one tempo change and its position. The caller sets the caption ("テンポの追加",
// "テンポの編集"). For the song's first tempo the position is fixed at 0.

#include "model/CTempoList.h"

#include <QDialog>

class CBeats;
class CDecimalEdit;
class CPositionEdit;
class QDialogButtonBox;
class QLabel;

class CTempoDialog : public QDialog {
    Q_OBJECT
public:
    explicit CTempoDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    void SetTempo(const TEMPO& tempo);
    TEMPO GetTempo() const;
    void SetFirst(bool first);

private:
    void StabilizeForm();

    struct Ui {
        QLabel* positionLabel = nullptr;
        CPositionEdit* position = nullptr;
        CDecimalEdit* tempo = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
    bool m_first = false;
};
