#include "engine/internal/BuildConvert.h"

#include <bit>
#include <cmath>
#include <cstring>
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

template <class T> void PutLittleEndian(T value, uint8_t* out) {
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(out, bytes, sizeof(T));
    else
        for (size_t i = 0; i < sizeof(T); ++i)
            out[i] = bytes[sizeof(T) - 1 - i];
}

} // namespace

size_t ConvertSamples(const double* in, size_t count, int bits, uint8_t* out) {
    switch (bits) {
    case 64:
        for (size_t i = 0; i < count; ++i)
            PutLittleEndian(in[i], out + 8 * i);
        return 8 * count;
    case 32:
        for (size_t i = 0; i < count; ++i)
            PutLittleEndian(ToFloat(in[i]), out + 4 * i);
        return 4 * count;
    case 24:
        for (size_t i = 0; i < count; ++i) {
            const auto n = static_cast<uint32_t>(Quantise(in[i], 8388607.0));
            out[3 * i] = uint8_t(n);
            out[3 * i + 1] = uint8_t(n >> 8);
            out[3 * i + 2] = uint8_t(n >> 16);
        }
        return 3 * count;
    case 16:
        for (size_t i = 0; i < count; ++i) {
            const auto n = static_cast<uint16_t>(Quantise(in[i], 32767.0));
            out[2 * i] = uint8_t(n);
            out[2 * i + 1] = uint8_t(n >> 8);
        }
        return 2 * count;
    case 8:
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<uint8_t>(Quantise(in[i], 127.0) + 128);
        return count;
    default:
        return 0;
    }
}
