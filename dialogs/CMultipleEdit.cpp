#include "dialogs/CMultipleEdit.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

// The range proper starts at 0 so that an unedited multiple below 0.5 is shown as it is;
// the lower bound of 0.5 applies to what the user types or steps.
CMultipleEdit::CMultipleEdit(QWidget* parent) : CDecimalEdit(parent) {
    setAccessibleDescription(tr("周波数の倍率を 0.5 から 16.0 までで入力します。"
                                "上下キーで整数ずつ増減します。"));
    SetRange(0.0, kMaximum);
    SetValue(1.0);
    connect(this, &CDecimalEdit::ValueEdited, this, [this] { m_edited = true; });
    connect(this, &CDecimalEdit::Committed, this, &CMultipleEdit::CommitMinimum);
}

void CMultipleEdit::SetMultiple(double multiple) {
    SetValue(std::isfinite(multiple) ? multiple : 1.0);
    m_edited = false;
}

double CMultipleEdit::Multiple() const {
    const double value = Value();
    return m_edited ? std::max(value, kMinimum) : value;
}

void CMultipleEdit::CommitMinimum() {
    if (m_edited && Value() < kMinimum)
        SetValue(kMinimum);
}

void CMultipleEdit::stepBy(int steps) {
    const double whole = std::clamp(std::trunc(Value()) + steps, 0.0, kMaximum);
    SetValue(whole == 0.0 ? kMinimum : whole);
    lineEdit()->selectAll();
    emit ValueEdited();
}

QAbstractSpinBox::StepEnabled CMultipleEdit::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    const double value = Value();
    StepEnabled enabled = StepNone;
    if (value < kMaximum)
        enabled |= StepUpEnabled;
    if (std::trunc(value) > 0.0)
        enabled |= StepDownEnabled;
    return enabled;
}
