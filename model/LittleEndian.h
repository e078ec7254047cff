#pragma once
// Little-endian values in byte blocks: the byte order of RIFF files, of the project file and
// of every sample the program reads or writes. Header-only and inline, because sample
// conversion calls these once per sample, and so the outside modules use them without
// linking anything.

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace le {

// The low `bytes` bytes (1 to 8) of an unsigned value.
inline uint64_t Get(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

inline uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t Get32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// A two's-complement integer of `bytes` bytes (1 to 4), sign-extended.
inline int32_t GetSigned(const uint8_t* p, int bytes) {
    const int shift = 32 - 8 * bytes;
    return static_cast<int32_t>(static_cast<uint32_t>(Get(p, bytes)) << shift) >> shift;
}

// Writes the low `bytes` bytes (1 to 8) of v.
inline void Put(uint8_t* p, int bytes, uint64_t v) {
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void Put32(uint8_t* p, uint32_t v) {
    Put16(p, static_cast<uint16_t>(v));
    Put16(p + 2, static_cast<uint16_t>(v >> 16));
}

// Any value of 2, 4 or 8 bytes stored bit for bit (the IEEE floats of float samples).
template <class T>
using Bits = std::conditional_t<sizeof(T) == 8, uint64_t,
                                std::conditional_t<sizeof(T) == 4, uint32_t, uint16_t>>;

template <class T> T GetValue(const uint8_t* p) {
    static_assert(sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8);
    if constexpr (std::endian::native == std::endian::little) {
        T v;
        std::memcpy(&v, p, sizeof v);
        return v;
    } else {
        return std::bit_cast<T>(static_cast<Bits<T>>(Get(p, sizeof(T))));
    }
}

template <class T> void PutValue(uint8_t* p, T v) {
    static_assert(sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8);
    if constexpr (std::endian::native == std::endian::little)
        std::memcpy(p, &v, sizeof v);
    else
        Put(p, sizeof(T), std::bit_cast<Bits<T>>(v));
}

} // namespace le
