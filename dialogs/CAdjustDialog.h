#pragma once
// The three adjustment dialogs: "位置の調整" and "音長の調整" (change by an amount, or fit to
// the grid) and "音量の調整" (change by an amount only, -255..255).

#include <QDialog>

#include <cstdint>

class CNumberEdit;
class QDialogButtonBox;
class QRadioButton;

class CAdjustDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Position, Length, Volume };
    enum Mode : int32_t { kChange = 0, kFit = 1 };

    explicit CAdjustDialog(Kind kind, QWidget* parent = nullptr);

    Kind GetKind() const { return m_kind; }
    // Ignored for volume, which only changes by an amount.
    void SetMode(int32_t mode);
    int32_t GetMode() const;
    void SetAmount(int32_t amount);
    int32_t GetAmount() const;

private:
    void StabilizeForm();

    struct Ui {
        QRadioButton* change = nullptr; // null for volume
        QRadioButton* fit = nullptr;    // null for volume
        CNumberEdit* amount = nullptr;
        QDialogButtonBox* buttonBox = nullptr;
        void setupUi(QDialog* dialog, Kind kind);
    } m_ui;
    Kind m_kind;
};
