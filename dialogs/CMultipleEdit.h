#pragma once
// The "ML" box of an FM operator: the frequency multiple, shown with one decimal. The arrows
// step whole numbers from the integer part (1.5 up gives 2, down gives 1) up to 16; a step
// that reaches 0 gives 0.5, the smallest multiple offered. Typed values are brought into
// 0.5..16.0 when the box is left. A value that was set and not edited comes back unchanged,
// even one below 0.5 from a file.

#include "dialogs/CDecimalEdit.h"

class CMultipleEdit : public CDecimalEdit {
    Q_OBJECT
public:
    static constexpr double kMinimum = 0.5;
    static constexpr double kMaximum = 16.0;

    explicit CMultipleEdit(QWidget* parent = nullptr);

    void SetMultiple(double multiple);
    // The multiple shown: an edited value within 0.5..16.0, an unedited one as it was set.
    double Multiple() const;

protected:
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;

private:
    void CommitMinimum();

    bool m_edited = false;
};
