#pragma once
// "分割": the number of equal parts (a tuplet) a free split cuts each note into.

#include <QDialog>

#include <cstdint>

class CNumberEdit;
class QDialogButtonBox;

class CSplitDialog : public QDialog {
    Q_OBJECT
public:
    explicit CSplitDialog(QWidget* parent = nullptr);

    void SetCount(int32_t count); // 1..256
    int32_t GetCount() const;

private:
    struct Ui {
        CNumberEdit* count = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
};
