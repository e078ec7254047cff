#pragma once
// "無限ループの設定": the endless loop's switch and its two ends. The end never lies before
// the start: leaving either box raises it, and GetLoopEnd() never returns less than
// GetLoopStart().

#include <QDialog>

#include <cstdint>

class CBeats;
class CPositionEdit;
class QCheckBox;
class QDialogButtonBox;
class QLabel;

class CLoopDialog : public QDialog {
    Q_OBJECT
public:
    explicit CLoopDialog(QWidget* parent = nullptr);

    // The song's signatures, for the measure:tick text; must outlive the dialog.
    void SetBeats(const CBeats* beats);
    void SetLoopEnabled(bool enabled);
    void SetLoopStart(int32_t tick);
    void SetLoopEnd(int32_t tick);
    bool IsLoopEnabled() const;
    int32_t GetLoopStart() const;
    int32_t GetLoopEnd() const;

private:
    void RaiseEnd();
    void StabilizeForm();

    struct Ui {
        QCheckBox* enabled = nullptr;
        QLabel* startLabel = nullptr;
        CPositionEdit* start = nullptr;
        QLabel* endLabel = nullptr;
        CPositionEdit* end = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog);
    } m_ui;
};
