#pragma once
// A number box for a real value shown with one decimal (the tempo). The arrows step the
// whole-number part: from 120.5 one step up gives 121 and one step down gives 120. Typed
// values may lie outside the range and are clamped when the box is left. A value that was
// set and not edited comes back unchanged, with all its decimals.

#include <QAbstractSpinBox>

class CDecimalEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit CDecimalEdit(QWidget* parent = nullptr);

    void SetRange(double minimum, double maximum);
    void SetValue(double value);
    double Value() const;
    void Commit();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ValueEdited();
    void Committed();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static QString Format(double value);
    bool Parse(const QString& text, double& value) const;
    double Clamp(double value) const;
    void Show(double value);

    double m_minimum = 10.0;
    double m_maximum = 1000.0;
    double m_value = 120.0; // what the text stands for while it is unedited
};
