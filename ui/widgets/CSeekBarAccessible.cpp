#include "ui/widgets/CSeekBarAccessible.h"

#include "ui/widgets/AccessibleFactory.h"
#include "ui/widgets/CSeekBar.h"

CSeekBarAccessible::CSeekBarAccessible(CSeekBar* bar)
    : QAccessibleWidget(bar, QAccessible::Slider) {
}

void CSeekBarAccessible::Install() {
    InstallAccessible<CSeekBar, CSeekBarAccessible>();
}

CSeekBar* CSeekBarAccessible::Bar() const {
    return static_cast<CSeekBar*>(widget());
}

QString CSeekBarAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return Bar()->ValueText();
    return QAccessibleWidget::text(t);
}

void* CSeekBarAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant CSeekBarAccessible::currentValue() const {
    return Bar()->value();
}

void CSeekBarAccessible::setCurrentValue(const QVariant& value) {
    if (Bar()->isEnabled())
        Bar()->JumpTo(value.toInt());
}

QVariant CSeekBarAccessible::maximumValue() const {
    return Bar()->maximum();
}

QVariant CSeekBarAccessible::minimumValue() const {
    return Bar()->minimum();
}

QVariant CSeekBarAccessible::minimumStepSize() const {
    return Bar()->singleStep();
}
