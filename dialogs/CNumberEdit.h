#pragma once
// A whole-number box with up/down arrows. Like every CRangeEdit it takes a typed number
// outside the range and brings it into range when the box is left, and it can be left
// empty, which the multi-note dialogs use for "the notes differ".

#include "dialogs/CRangeEdit.h"

#include <cstdint>
#include <limits>

class CNumberEdit : public CRangeEdit {
    Q_OBJECT
public:
    explicit CNumberEdit(QWidget* parent = nullptr);

    void SetRange(int64_t minimum, int64_t maximum);
    int64_t Minimum() const { return m_minimum; }
    int64_t Maximum() const { return m_maximum; }
    // With an empty box allowed, leaving it empty keeps it empty; otherwise an empty box
    // returns to its last value.
    void SetAllowEmpty(bool allow) { m_allowEmpty = allow; }

    // Shows the value, clamped into the range.
    void SetValue(int64_t value);
    void SetEmpty();
    bool IsEmpty() const;
    // The typed value clamped into the range (the last value while the box is empty).
    int64_t Value() const;
    // An empty box stays empty when allowed, else shows its last value again.
    void Commit() override;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    void stepBy(int steps) override;
    std::array<QString, 2> EndTexts() const override;
    bool CanStepUp() const override;
    bool CanStepDown() const override;

private:
    // Digits with an optional leading minus; saturates far outside any range in use.
    static bool Parse(const QString& text, int64_t& value);
    int64_t Clamp(int64_t value) const;
    void Show(int64_t value);

    int64_t m_minimum = 0;
    int64_t m_maximum = std::numeric_limits<int32_t>::max();
    int64_t m_lastValue = 0;
    bool m_allowEmpty = false;
};
