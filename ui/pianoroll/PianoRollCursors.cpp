#include "ui/pianoroll/PianoRollCursors.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QTransform>

#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace piano_roll_cursors {

namespace {

constexpr int kSize = 32;
constexpr double kCentre = kSize / 2.0;

// An arrow head pointing along (dx, dy), placed out from the centre.
QPolygonF ArrowHead(int dx, int dy) {
    const double angle = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    const QPolygonF right({QPointF(14, 0), QPointF(8, -5), QPointF(8, 5)});
    return QTransform().translate(kCentre, kCentre).rotate(angle).map(right);
}

QCursor MakePan(int dx, int dy) {
    // Drawn at the screen's resolution; the hot spot stays in logical pixels.
    const qreal ratio = qGuiApp->devicePixelRatio();
    QPixmap pixmap(QSize(kSize, kSize) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(kCentre, kCentre), 3.5, 3.5);
    if (dx == 0 && dy == 0) {
        for (const auto& [x, y] :
             std::array<std::pair<int, int>, 4>{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}})
            painter.drawPolygon(ArrowHead(x, y));
    } else {
        painter.drawPolygon(ArrowHead(dx, dy));
    }
    painter.end();
    return QCursor(pixmap, kSize / 2, kSize / 2);
}

} // namespace

QCursor MeasureBoundary() {
    return QCursor(Qt::SplitHCursor);
}

QCursor OctaveBoundary() {
    return QCursor(Qt::SplitVCursor);
}

QCursor Pan(int dx, int dy) {
    dx = dx < 0 ? -1 : (dx > 0 ? 1 : 0);
    dy = dy < 0 ? -1 : (dy > 0 ? 1 : 0);
    return MakePan(dx, dy);
}

} // namespace piano_roll_cursors
