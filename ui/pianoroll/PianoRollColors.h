#pragma once
// Colour arithmetic of the piano roll. Option and track colours are stored 0x00BBGGRR.

#include <QColor>

#include <algorithm>
#include <cstdint>

namespace piano_roll_colors {

inline QColor FromBgr(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Each channel 255 - value: the caret and the play line stand out on any note colour.
inline QColor Inverse(const QColor& c) {
    return QColor(255 - c.red(), 255 - c.green(), 255 - c.blue());
}

// Quiet notes fade toward white: channel -> 255 - (255 - channel) × volume / 255.
inline QColor Lighten(const QColor& c, int volume) {
    const int v = std::clamp(volume, 0, 255);
    auto channel = [v](int x) { return 255 - (255 - x) * v / 255; };
    return QColor(channel(c.red()), channel(c.green()), channel(c.blue()));
}

// The outline: every channel of the fill halved.
inline QColor Halve(const QColor& c) {
    return QColor(c.red() / 2, c.green() / 2, c.blue() / 2);
}

// Line i (0 at the top) of n inner lines of a gradation: from half strength at the top to
// full strength at the bottom.
inline QColor GradationLine(const QColor& c, int n, int i) {
    if (n <= 0)
        return c;
    auto channel = [n, i](int x) { return 255 - (255 - x) * (n + i) / (2 * n); };
    return QColor(channel(c.red()), channel(c.green()), channel(c.blue()));
}

} // namespace piano_roll_colors
