#include "ui/widgets/CSeekBar.h"

#include "ui/widgets/CSeekBarAccessible.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <algorithm>

namespace {

// Pixels at each end of the bar that lie outside the channel, as on a trackbar whose
// channel stops short of the control's edges.
constexpr int kChannelInset = 4;
constexpr int kTickLength = 4;

QString MinutesSeconds(int milliseconds) {
    const int minutes = milliseconds / 60000;
    const int seconds = milliseconds / 1000 - 60 * minutes;
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}

} // namespace

CSeekBar::CSeekBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    CSeekBarAccessible::Install();
    setAccessibleName(tr("再生位置"));
    setAccessibleDescription(tr("再生する位置です。クリックした位置や矢印キーで動かします。"));
    setMouseTracking(true);
    connect(this, &QAbstractSlider::actionTriggered, this, &CSeekBar::OnAction);
    connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        emit scrolled(value(), ScrollCode::Position);
        emit scrolled(value(), ScrollCode::EndTrack);
    });
}

void CSeekBar::initStyleOption(QStyleOptionSlider* option) const {
    QSlider::initStyleOption(option);
    option->rect.adjust(kChannelInset, 0, -kChannelInset, 0);
    // The ticks are drawn here, at any values; the style would put them at intervals.
    option->tickPosition = QSlider::NoTicks;
    option->subControls &= ~QStyle::SC_SliderTickmarks;
}

QRect CSeekBar::ChannelRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

QRect CSeekBar::ThumbRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

int CSeekBar::ValueAt(int x) const {
    const QRect channel = ChannelRect();
    const int end = channel.x() + channel.width(); // one past the right edge
    if (x < channel.x() || x >= end) {
        return minimum() - 1;
    }
    const int half = ThumbRect().width() / 2;
    const int left = channel.x() + half;
    const int right = end - half;
    if (right <= left) {
        return minimum();
    }
    const long long span = (long long)maximum() - minimum();
    const long long v = minimum() + span * (x - left) / (right - left);
    return int(std::clamp<long long>(v, minimum(), maximum()));
}

void CSeekBar::SetTic(int value) {
    if (!m_tics.contains(value)) {
        m_tics.append(value);
        update();
    }
}

void CSeekBar::ClearTics() {
    m_tics.clear();
    update();
}

QString CSeekBar::ToolTipText(const QPoint& pos) const {
    const int v = ValueAt(pos.x());
    if (v < minimum()) {
        return {};
    }
    return MinutesSeconds(v);
}

QString CSeekBar::ValueText() const {
    return QStringLiteral("%1 / %2").arg(MinutesSeconds(value()), MinutesSeconds(maximum()));
}

void CSeekBar::JumpTo(int value) {
    setValue(value);
    emit scrolled(this->value(), ScrollCode::Position);
    emit scrolled(this->value(), ScrollCode::EndTrack);
}

bool CSeekBar::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QSlider::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipText(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void CSeekBar::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && !ThumbRect().contains(pos)) {
        const int v = ValueAt(pos.x());
        if (v >= minimum()) {
            JumpTo(v);
        }
    }
    // The thumb now sits under the pointer, so the slider's own handling starts a drag.
    const QScopedValueRollback input(m_userInput, true);
    QSlider::mousePressEvent(event);
}

void CSeekBar::mouseMoveEvent(QMouseEvent* event) {
    if (QToolTip::isVisible()) {
        const QString text = ToolTipText(event->position().toPoint());
        if (text.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(event->globalPosition().toPoint(), text, this);
        }
    }
    const QScopedValueRollback input(m_userInput, true);
    QSlider::mouseMoveEvent(event);
}

void CSeekBar::mouseReleaseEvent(QMouseEvent* event) {
    const QScopedValueRollback input(m_userInput, true);
    QSlider::mouseReleaseEvent(event);
}

void CSeekBar::keyPressEvent(QKeyEvent* event) {
    const QScopedValueRollback input(m_userInput, true);
    QSlider::keyPressEvent(event);
}

void CSeekBar::wheelEvent(QWheelEvent* event) {
    const QScopedValueRollback input(m_userInput, true);
    QSlider::wheelEvent(event);
}

void CSeekBar::OnAction(int action) {
    if (action == SliderNoAction || !(m_userInput || isSliderDown())) {
        return;
    }
    // A drag moves the thumb; the wheel also reports a plain move, which is a step.
    const bool track = action == SliderMove && isSliderDown();
    emit scrolled(sliderPosition(), track ? ScrollCode::Track : ScrollCode::Step);
}

int CSeekBar::PixelOf(int value) const {
    const QRect channel = ChannelRect();
    const int thumb = ThumbRect().width();
    return channel.x() + thumb / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, channel.width() - thumb,
                                           invertedAppearance());
}

void CSeekBar::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    const TickPosition where = tickPosition();
    if (where == NoTicks) {
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    QList<int> values = m_tics;
    values << minimum() << maximum();
    for (int v : values) {
        if (v < minimum() || v > maximum()) {
            continue;
        }
        const int x = PixelOf(v);
        if (where & TicksAbove) {
            painter.drawLine(x, 1, x, kTickLength);
        }
        if (where & TicksBelow) {
            painter.drawLine(x, height() - 1 - kTickLength, x, height() - 2);
        }
    }
}
