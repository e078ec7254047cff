#include "dialogs/CNumberEdit.h"

#include <QLineEdit>

#include <algorithm>

namespace {
// 12 digits hold every 32-bit value and keep the arithmetic far from overflow.
constexpr int kMaxDigits = 12;
constexpr int64_t kSaturation = 999'999'999'999;
} // namespace

CNumberEdit::CNumberEdit(QWidget* parent) : CRangeEdit(parent) {
    setAccessibleDescription(tr("整数を入力します。上下キーで値を増減します。"));
    Show(0);
}

void CNumberEdit::SetRange(int64_t minimum, int64_t maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    if (!IsEmpty())
        Show(Clamp(Value()));
    m_lastValue = Clamp(m_lastValue);
    updateGeometry();
}

void CNumberEdit::SetValue(int64_t value) {
    Show(Clamp(value));
}

void CNumberEdit::SetEmpty() {
    lineEdit()->clear();
}

bool CNumberEdit::IsEmpty() const {
    const QString text = lineEdit()->text().trimmed();
    return text.isEmpty() || text == QLatin1String("-");
}

int64_t CNumberEdit::Value() const {
    int64_t value = 0;
    if (IsEmpty() || !Parse(lineEdit()->text().trimmed(), value))
        return m_lastValue;
    return Clamp(value);
}

void CNumberEdit::Commit() {
    if (IsEmpty()) {
        if (m_allowEmpty)
            lineEdit()->clear();
        else
            Show(m_lastValue);
        return;
    }
    const int64_t value = Value();
    if (lineEdit()->text() != QString::number(value))
        Show(value);
    else
        m_lastValue = value;
}

void CNumberEdit::Show(int64_t value) {
    m_lastValue = value;
    lineEdit()->setText(QString::number(value));
}

int64_t CNumberEdit::Clamp(int64_t value) const {
    return std::clamp(value, m_minimum, m_maximum);
}

bool CNumberEdit::Parse(const QString& text, int64_t& value) {
    if (text.isEmpty())
        return false;
    const bool negative = text.front() == u'-';
    const QStringView digits = QStringView(text).mid(negative ? 1 : 0);
    if (digits.isEmpty())
        return false;
    int64_t result = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        result = std::min(result * 10 + (c.unicode() - u'0'), kSaturation);
    }
    value = negative ? -result : result;
    return true;
}

QValidator::State CNumberEdit::validate(QString& input, int&) const {
    const QString text = input.trimmed();
    if (text.isEmpty() || (text == QLatin1String("-") && m_minimum < 0))
        return QValidator::Intermediate;
    if (text.front() == u'-' && m_minimum >= 0)
        return QValidator::Invalid;
    if (text.size() > kMaxDigits + 1)
        return QValidator::Invalid;
    int64_t value = 0;
    if (!Parse(text, value))
        return QValidator::Invalid;
    return Clamp(value) == value ? QValidator::Acceptable : QValidator::Intermediate;
}

void CNumberEdit::fixup(QString& input) const {
    int64_t value = 0;
    if (Parse(input.trimmed(), value))
        input = QString::number(Clamp(value));
}

void CNumberEdit::stepBy(int steps) {
    const int64_t from = IsEmpty() ? Clamp(0) : Value();
    Show(Clamp(from + steps));
    AfterStep();
}

std::array<QString, 2> CNumberEdit::EndTexts() const {
    return {QString::number(m_minimum), QString::number(m_maximum)};
}

bool CNumberEdit::CanStepUp() const {
    return IsEmpty() || Value() < m_maximum;
}

bool CNumberEdit::CanStepDown() const {
    return IsEmpty() || Value() > m_minimum;
}
