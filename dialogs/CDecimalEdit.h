#pragma once
// A number box for a real value shown with one decimal (the tempo). The arrows step the
// whole-number part: from 120.5 one step up gives 121 and one step down gives 120. Typed
// values may lie outside the range and are clamped when the box is left. A value that was
// set and not edited comes back unchanged, with all its decimals.

#include "dialogs/CRangeEdit.h"

class CDecimalEdit : public CRangeEdit {
    Q_OBJECT
public:
    explicit CDecimalEdit(QWidget* parent = nullptr);

    void SetRange(double minimum, double maximum);
    void SetValue(double value);
    double Value() const;
    void Commit() override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;
    std::array<QString, 2> EndTexts() const override;
    bool CanStepUp() const override;
    bool CanStepDown() const override;

private:
    static QString Format(double value);
    bool Parse(const QString& text, double& value) const;
    double Clamp(double value) const;
    void Show(double value);

    double m_minimum = 10.0;
    double m_maximum = 1000.0;
    double m_value = 120.0; // what the text stands for while it is unedited
};
