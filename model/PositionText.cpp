#include "model/PositionText.h"

#include <algorithm>
#include <limits>

std::string FormatPosition(const CBeats& beats, int32_t tick) {
    const int32_t measure = beats.TickToMeasure(tick);
    return std::to_string(int64_t{measure} + 1) + ":" +
           std::to_string(int64_t{tick} - beats.MeasureToTick(measure));
}

namespace {

// Digits only; saturates so that long inputs stay in range.
std::optional<int64_t> ParseNumber(const std::string& digits) {
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = std::min<int64_t>(value * 10 + (c - '0'), std::numeric_limits<int32_t>::max());
    }
    return value;
}

} // namespace

std::optional<int32_t> ParsePosition(const CBeats& beats, const std::string& text) {
    const size_t colon = text.find(':');
    const std::string measureText = text.substr(0, colon);
    const std::string tickText = colon == std::string::npos ? "" : text.substr(colon + 1);
    auto measure = ParseNumber(measureText);
    auto tick = ParseNumber(tickText);
    if (!measure || !tick)
        return std::nullopt;
    const int64_t result = int64_t{beats.MeasureToTick(static_cast<int32_t>(*measure - 1))} + *tick;
    return static_cast<int32_t>(
        std::clamp<int64_t>(result, 0, std::numeric_limits<int32_t>::max()));
}
