#include "dialogs/CFMAlgorithmPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

constexpr int kBox = 9;         // box edge in pixels
constexpr int kColumnStep = 12; // box and gap
constexpr int kRowStep = 11;
constexpr int kTop = 2; // leaves room for the feedback loop above a box in row 0
constexpr int kOutputY = 46;

constexpr int Op(int number) {
    return 1 << (number - 1);
}

// Modulators stand above what they modulate; carriers sit lowest, over the output line.
const std::array<CFMAlgorithmPicture::LAYOUT, CFMAlgorithmPicture::kAlgorithms> kLayouts = {{
    // 0: O4(O3(O2(O1)))
    {{0, 1, 2, 3}, {0, 1, 2, 3}, {Op(2), Op(3), Op(4), 0}},
    // 1: O4(O3(O1 + O2))
    {{0, 2, 1, 1}, {1, 1, 2, 3}, {Op(3), Op(3), Op(4), 0}},
    // 2: O4(O3(O2) + O1)
    {{2, 0, 0, 1}, {2, 1, 2, 3}, {Op(4), Op(3), Op(4), 0}},
    // 3: O4(O2(O1) + O3)
    {{0, 0, 2, 1}, {1, 2, 2, 3}, {Op(2), Op(4), Op(4), 0}},
    // 4: O2(O1) + O4(O3)
    {{0, 0, 1, 1}, {2, 3, 2, 3}, {Op(2), 0, Op(4), 0}},
    // 5: O2(O1) + O3(O1) + O4(O1)
    {{1, 0, 1, 2}, {2, 3, 3, 3}, {Op(2) | Op(3) | Op(4), 0, 0, 0}},
    // 6: O2(O1) + O3 + O4
    {{0, 0, 1, 2}, {2, 3, 3, 3}, {Op(2), 0, 0, 0}},
    // 7: O1 + O2 + O3 + O4
    {{0, 1, 2, 3}, {3, 3, 3, 3}, {0, 0, 0, 0}},
}};

} // namespace

const CFMAlgorithmPicture::LAYOUT& CFMAlgorithmPicture::Layout(int algorithm) {
    return kLayouts[static_cast<size_t>(std::clamp(algorithm, 0, kAlgorithms - 1))];
}

// The used columns are centred across the picture.
QRect CFMAlgorithmPicture::Box(int algorithm, int index) {
    const LAYOUT& layout = Layout(algorithm);
    const int columns = *std::max_element(layout.columns.begin(), layout.columns.end()) + 1;
    const int left = (kSize - (columns * kColumnStep - (kColumnStep - kBox))) / 2;
    const size_t i = static_cast<size_t>(std::clamp(index, 0, 3));
    return QRect(left + layout.columns[i] * kColumnStep, kTop + layout.rows[i] * kRowStep, kBox,
                 kBox);
}

QImage CFMAlgorithmPicture::Draw(int algorithm, qreal ratio) {
    if (algorithm < 0 || algorithm >= kAlgorithms)
        return {};
    const int pixels = qRound(kSize * ratio);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    const QPalette palette = QGuiApplication::palette();
    QPainter painter(&image);
    painter.setPen(palette.color(QPalette::Text));
    const LAYOUT& layout = Layout(algorithm);
    int outputLeft = kSize;
    for (int i = 0; i < 4; ++i) {
        const QRect from = Box(algorithm, i);
        const int x = from.center().x();
        if (layout.targets[size_t(i)] == 0) {
            painter.drawLine(x, from.bottom() + 1, x, kOutputY);
            outputLeft = std::min(outputLeft, x);
        }
        for (int t = 0; t < 4; ++t) {
            if (!(layout.targets[size_t(i)] & (1 << t)))
                continue;
            // Down, across to the target's column, and down into its top.
            const QRect to = Box(algorithm, t);
            const int bend = to.top() - 2;
            painter.drawLine(x, from.bottom() + 1, x, bend);
            painter.drawLine(x, bend, to.center().x(), bend);
            painter.drawLine(to.center().x(), bend, to.center().x(), to.top() - 1);
        }
    }
    painter.drawLine(outputLeft, kOutputY, kSize - 1, kOutputY);
    // Feedback of operator 1: out of its right side and back into its top.
    const QRect first = Box(algorithm, 0);
    const int loopX = first.right() + 2;
    const int loopY = first.top() - 2;
    painter.drawPolyline(
        QPolygon({QPoint(first.right() + 1, first.center().y()), QPoint(loopX, first.center().y()),
                  QPoint(loopX, loopY), QPoint(first.center().x(), loopY),
                  QPoint(first.center().x(), first.top() - 1)}));
    QFont font = painter.font();
    font.setPixelSize(kBox - 1);
    painter.setFont(font);
    for (int i = 0; i < 4; ++i) {
        const QRect box = Box(algorithm, i);
        painter.fillRect(box, palette.color(QPalette::Base));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.drawText(box, Qt::AlignCenter, QString::number(i + 1));
    }
    return image;
}
