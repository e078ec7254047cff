#pragma once
// "ジャンプ": asks for a song position to move the caret to.

#include <QDialog>

#include <cstdint>

class CBeats;
class CPositionEdit;
class QDialogButtonBox;

class CJumpDialog : public QDialog {
    Q_OBJECT
public:
    explicit CJumpDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    void SetPosition(int32_t tick);
    // The chosen tick, or -1 for no position.
    int32_t GetPosition() const;

private:
    void StabilizeForm();

    struct Ui {
        CPositionEdit* position = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
};
