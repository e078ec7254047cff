#include "dialogs/CDecimalEdit.h"

#include <QLineEdit>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMaxWholeDigits = 7;
} // namespace

CDecimalEdit::CDecimalEdit(QWidget* parent) : CRangeEdit(parent) {
    setAccessibleDescription(tr("小数第1位までの数を入力します。上下キーで値を増減します。"));
    Show(m_value);
}

void CDecimalEdit::SetRange(double minimum, double maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    Show(Clamp(Value()));
    updateGeometry();
}

void CDecimalEdit::SetValue(double value) {
    Show(Clamp(value));
}

double CDecimalEdit::Value() const {
    const QString text = lineEdit()->text();
    double typed = 0;
    if (text == Format(m_value) || !Parse(text, typed))
        return m_value;
    return Clamp(typed);
}

void CDecimalEdit::Commit() {
    const double value = Value();
    if (lineEdit()->text() != Format(value) || value != m_value)
        Show(value);
}

QString CDecimalEdit::Format(double value) {
    return QString::number(value, 'f', 1);
}

bool CDecimalEdit::Parse(const QString& text, double& value) const {
    bool ok = false;
    value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

double CDecimalEdit::Clamp(double value) const {
    return std::clamp(value, m_minimum, m_maximum);
}

void CDecimalEdit::Show(double value) {
    m_value = value;
    lineEdit()->setText(Format(value));
}

QValidator::State CDecimalEdit::validate(QString& input, int&) const {
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("."))
        return QValidator::Intermediate;
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = QStringView(text).left(point < 0 ? text.size() : point);
    const QStringView fraction = point < 0 ? QStringView() : QStringView(text).mid(point + 1);
    if (whole.size() > kMaxWholeDigits || fraction.size() > 1)
        return QValidator::Invalid;
    for (QChar c : whole)
        if (c < u'0' || c > u'9')
            return QValidator::Invalid;
    for (QChar c : fraction)
        if (c < u'0' || c > u'9')
            return QValidator::Invalid;
    double value = 0;
    if (!Parse(text, value))
        return QValidator::Intermediate;
    return Clamp(value) == value ? QValidator::Acceptable : QValidator::Intermediate;
}

void CDecimalEdit::fixup(QString& input) const {
    double value = 0;
    input = Format(Parse(input, value) ? Clamp(value) : m_value);
}

void CDecimalEdit::stepBy(int steps) {
    // The fraction is dropped in the direction of the step, so the first step lands on the
    // next whole number.
    const double from = Value();
    const double whole = steps > 0 ? std::floor(from) : std::ceil(from);
    Show(Clamp(whole + steps));
    AfterStep();
}

std::array<QString, 2> CDecimalEdit::EndTexts() const {
    return {Format(m_minimum), Format(m_maximum)};
}

bool CDecimalEdit::CanStepUp() const {
    return Value() < m_maximum;
}

bool CDecimalEdit::CanStepDown() const {
    return Value() > m_minimum;
}
