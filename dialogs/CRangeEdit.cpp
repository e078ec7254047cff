#include "dialogs/CRangeEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleOptionSpinBox>

#include <algorithm>

CRangeEdit::CRangeEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setAccelerated(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, &CRangeEdit::ValueEdited);
}

void CRangeEdit::AfterStep() {
    lineEdit()->selectAll();
    emit ValueEdited();
}

QAbstractSpinBox::StepEnabled CRangeEdit::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    StepEnabled enabled = StepNone;
    if (CanStepUp())
        enabled |= StepUpEnabled;
    if (CanStepDown())
        enabled |= StepDownEnabled;
    return enabled;
}

void CRangeEdit::focusOutEvent(QFocusEvent* event) {
    Commit();
    QAbstractSpinBox::focusOutEvent(event);
    emit Committed();
}

void CRangeEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Commit();
        emit Committed();
    }
    QAbstractSpinBox::keyPressEvent(event);
}

QSize CRangeEdit::sizeHint() const {
    ensurePolished();
    const QFontMetrics fm(fontMetrics());
    const auto [low, high] = EndTexts();
    const int textWidth = std::max(fm.horizontalAdvance(low), fm.horizontalAdvance(high));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize content(textWidth + fm.horizontalAdvance(u' ') * 2,
                        lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, content, this);
}

QSize CRangeEdit::minimumSizeHint() const {
    return sizeHint();
}
