#pragma once
// "小節": a measure number (from 1) and a count of measures, for inserting or deleting
// measures. The caller sets the caption ("小節の挿入" or "小節の削除").

#include <QDialog>

#include <cstdint>

class CNumberEdit;
class QDialogButtonBox;

class CMeasureDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMeasureDialog(QWidget* parent = nullptr);

    void SetMeasure(int32_t measure); // from 1
    void SetCount(int32_t count);
    int32_t GetMeasure() const;
    int32_t GetCount() const;

private:
    struct Ui {
        CNumberEdit* measure = nullptr;
        CNumberEdit* count = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
};
