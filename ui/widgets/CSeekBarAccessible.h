#pragma once
// What a screen reader learns of a seek bar: a slider whose value reads as the bar's own
// text (CSeekBar::ValueText, a time or a level rather than a bare number), and whose value
// it may set as a click on the bar would.

#include <QAccessibleWidget>

class CSeekBar;

class CSeekBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CSeekBarAccessible(CSeekBar* bar);

    // Makes Qt build this interface for every CSeekBar; calling it again does nothing.
    static void Install();

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    CSeekBar* Bar() const;
};
