#include "dialogs/CColorButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {
    setAccessibleDescription(tr("押すと色の設定が開き、色を選べます。"));
    connect(this, &QPushButton::clicked, this, &CColorButton::Choose);
}

QColor CColorButton::ToQColor(uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

uint32_t CColorButton::FromQColor(const QColor& color) {
    return uint32_t(color.red()) | (uint32_t(color.green()) << 8) | (uint32_t(color.blue()) << 16);
}

void CColorButton::SetColor(uint32_t bgr) {
    bgr &= 0x00FFFFFF;
    if (bgr == m_color)
        return;
    m_color = bgr;
    update();
    emit ColorChanged(m_color);
}

void CColorButton::Choose() {
    if (m_pCustomColors != nullptr)
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            QColorDialog::setCustomColor(i, ToQColor((*m_pCustomColors)[size_t(i)]));
    // The desktop's own chooser would ignore the custom colours.
    const QColor chosen = QColorDialog::getColor(ToQColor(m_color), this, tr("色の設定"),
                                                 QColorDialog::DontUseNativeDialog);
    if (m_pCustomColors != nullptr)
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            (*m_pCustomColors)[size_t(i)] = FromQColor(QColorDialog::customColor(i));
    if (chosen.isValid())
        SetColor(FromQColor(chosen));
}

QSize CColorButton::sizeHint() const {
    const int height = QPushButton::sizeHint().height();
    return {height * 2, height};
}

void CColorButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButton, option);
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
    const QRect swatch = rect().adjusted(margin, margin, -margin, -margin);
    const QColor fill =
        isEnabled() ? ToQColor(m_color) : palette().color(QPalette::Disabled, QPalette::Button);
    painter.fillRect(swatch, fill);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}
