#include "dialogs/CEnvelopeWnd.h"

#include "model/CEnvelope.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// A point of the graph in time (ms) and level (0..255).
struct TimeLevel {
    double t;
    double level;
};

// The envelope as a chain of points: attack from the end of the delay, decay, sustain and,
// from the key-off time at 9/10 of the span, the release.
std::vector<TimeLevel> Chain(const CEnvelope& envelope, int span) {
    const double S = span;
    const double K = static_cast<double>(static_cast<int64_t>(span) * 9 / 10);
    const double d = std::max(envelope.delay, 0);
    const double A = envelope.attack;
    const double D = envelope.decay;
    const double R = envelope.release;
    const double Sr = envelope.sustain;
    const double AL = envelope.attackLevel;
    const double SL = envelope.sustainLevel;

    std::vector<TimeLevel> chain;
    if (d > K)
        return chain;
    const auto release = [&](double atKeyOff) {
        chain.push_back({K, atKeyOff});
        chain.push_back(R < 0 ? TimeLevel{S, atKeyOff} : TimeLevel{K + R, 0});
    };
    chain.push_back({d, AL});
    // The divisions below only happen with a positive divisor: d <= K and the phase
    // before it ended by K, so a phase that passes K is longer than zero.
    if (d + A > K) {
        release((K - d) * (255 - AL) / A + AL);
        return chain;
    }
    chain.push_back({d + A, 255});
    if (d + A + D > K) {
        release(255 - (255 - SL) * (K - d - A) / D);
        return chain;
    }
    chain.push_back({d + A + D, SL});
    if (Sr < 0 || d + A + D + Sr > K)
        release(Sr < 0 ? SL : SL - (K - d - A - D) * SL / Sr);
    else
        chain.push_back({d + A + D + Sr, 0});
    return chain;
}

// Cuts the segment p0-p1 to the box (Liang-Barsky); false when nothing of it lies inside.
// Keeps pixel values far from the limits of int whatever a damaged file holds.
bool ClipToBox(QPointF& p0, QPointF& p1, const QRectF& box) {
    const double dx = p1.x() - p0.x();
    const double dy = p1.y() - p0.y();
    double enter = 0.0;
    double leave = 1.0;
    const std::pair<double, double> edges[] = {{-dx, p0.x() - box.left()},
                                               {dx, box.right() - p0.x()},
                                               {-dy, p0.y() - box.top()},
                                               {dy, box.bottom() - p0.y()}};
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0)
                return false;
            continue;
        }
        const double r = q / p;
        if (p < 0.0)
            enter = std::max(enter, r);
        else
            leave = std::min(leave, r);
    }
    if (enter > leave)
        return false;
    const QPointF start = p0;
    p0 = start + QPointF(dx, dy) * enter;
    p1 = start + QPointF(dx, dy) * leave;
    return true;
}

} // namespace

CEnvelopeWnd::CEnvelopeWnd(QWidget* parent) : QFrame(parent) {
    setAccessibleName(tr("エンベロープのプレビュー"));
    setAccessibleDescription(tr("エンベロープの形を、横に時間、縦に音量で表示します。"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CEnvelopeWnd::SetEnvelope(const CEnvelope* envelope) {
    m_envelope = envelope;
    update();
}

void CEnvelopeWnd::SetSpan(int milliseconds) {
    m_span = std::max(milliseconds, 1);
    update();
}

void CEnvelopeWnd::Redraw() {
    update();
}

std::vector<QLine> CEnvelopeWnd::Segments(const CEnvelope& envelope, int span, int width,
                                          int height) {
    std::vector<QLine> lines;
    if (span < 1 || width < 1 || height < 1)
        return lines;
    const double w = width - 1;
    const double h = height - 1;
    const auto toPixel = [&](const TimeLevel& p) {
        return QPointF(w * p.t / span, h - h * p.level / 255);
    };
    const QRectF box(-width, -height, 3.0 * width, 3.0 * height);
    const std::vector<TimeLevel> chain = Chain(envelope, span);
    for (size_t i = 1; i < chain.size(); ++i) {
        QPointF from = toPixel(chain[i - 1]);
        QPointF to = toPixel(chain[i]);
        if (ClipToBox(from, to, box))
            lines.emplace_back(int(from.x()), int(from.y()), int(to.x()), int(to.y()));
    }
    return lines;
}

QSize CEnvelopeWnd::sizeHint() const {
    return {200 + 2 * frameWidth(), 80 + 2 * frameWidth()};
}

QSize CEnvelopeWnd::minimumSizeHint() const {
    return {60 + 2 * frameWidth(), 30 + 2 * frameWidth()};
}

void CEnvelopeWnd::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect area = contentsRect();
    QPainter painter(this);
    painter.fillRect(area, palette().color(QPalette::Base));
    if (m_envelope == nullptr || area.isEmpty())
        return;
    const int w = area.width();
    const int h = area.height();
    painter.setClipRect(area);
    painter.translate(area.topLeft());
    painter.setPen(QPen(palette().color(QPalette::Dark), 0));
    painter.drawLine(w * 9 / 10, 0, w * 9 / 10, h - 1);
    painter.drawLine(0, h - 1, w - 1, h - 1);
    painter.setPen(QPen(palette().color(QPalette::Text), 0));
    for (const QLine& line : Segments(*m_envelope, m_span, w, h))
        painter.drawLine(line);
}
