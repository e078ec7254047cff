#include "engine/internal/BuildConvert.h"

#include "model/LittleEndian.h"

#include <cmath>
#include <limits>

namespace {

// floor(x * scale + 0.5) limited to [-scale - 1, scale], with NaN as 0. The limit is
// applied in floating point, so huge values and infinities never reach the integer cast.
int32_t Quantise(double x, double scale) {
    if (std::isnan(x))
        return 0;
    double n = std::floor(x * scale + 0.5);
    if (n > scale)
        n = scale;
    else if (n < -scale - 1)
        n = -scale - 1;
    return static_cast<int32_t>(n);
}

float ToFloat(double x) {
    // Converting a double beyond the float range is undefined; the IEEE result is infinity.
    constexpr double kMax = std::numeric_limits<float>::max();
    if (x > kMax)
        return std::numeric_limits<float>::infinity();
    if (x < -kMax)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(x);
}

} // namespace

size_t ConvertSamples(const double* in, size_t count, int bits, uint8_t* out) {
    switch (bits) {
    case 64:
        for (size_t i = 0; i < count; ++i)
            le::PutValue(out + 8 * i, in[i]);
        return 8 * count;
    case 32:
        for (size_t i = 0; i < count; ++i)
            le::PutValue(out + 4 * i, ToFloat(in[i]));
        return 4 * count;
    case 24:
        for (size_t i = 0; i < count; ++i)
            le::Put(out + 3 * i, 3, static_cast<uint32_t>(Quantise(in[i], 8388607.0)));
        return 3 * count;
    case 16:
        for (size_t i = 0; i < count; ++i)
            le::Put16(out + 2 * i, static_cast<uint16_t>(Quantise(in[i], 32767.0)));
        return 2 * count;
    case 8:
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<uint8_t>(Quantise(in[i], 127.0) + 128);
        return count;
    default:
        return 0;
    }
}
