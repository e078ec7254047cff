#pragma once
// What the number boxes (CNumberEdit, CDecimalEdit) share. Unlike QSpinBox they let the user
// type a value outside the range and bring it into range when the box is left or Enter is
// pressed; the arrows stop at the range's ends; and the box is as wide as the longer of
// the two ends' texts.

#include <QAbstractSpinBox>

#include <array>

class CRangeEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    // What leaving the box does: the text is replaced by the value brought into range.
    virtual void Commit() = 0;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user typed or stepped.
    void ValueEdited();
    // The box was left and its text brought into range.
    void Committed();

protected:
    explicit CRangeEdit(QWidget* parent);

    // The texts of the lowest and the highest value.
    virtual std::array<QString, 2> EndTexts() const = 0;
    // Whether an arrow may step up or down from what the box holds.
    virtual bool CanStepUp() const = 0;
    virtual bool CanStepDown() const = 0;
    // Called by stepBy once it has shown the new value.
    void AfterStep();

    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
