// The little-endian reads and writes every file format and sample conversion goes through:
// byte order, sign extension at each width's limits, and floats stored bit for bit.

#include "model/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

namespace {

TEST(LittleEndian, FixedWidthsPutTheLowByteFirst) {
    std::array<uint8_t, 4> b{};
    le::Put16(b.data(), 0xA1B2);
    EXPECT_EQ(b, (std::array<uint8_t, 4>{0xB2, 0xA1, 0, 0}));
    EXPECT_EQ(le::Get16(b.data()), 0xA1B2);
    le::Put32(b.data(), 0xF1E2D3C4);
    EXPECT_EQ(b, (std::array<uint8_t, 4>{0xC4, 0xD3, 0xE2, 0xF1}));
    EXPECT_EQ(le::Get32(b.data()), 0xF1E2D3C4u);
}

TEST(LittleEndian, EveryWidthRoundTripsAndLeavesTheNextByteAlone) {
    for (int bytes = 1; bytes <= 8; ++bytes) {
        std::vector<uint8_t> b(9, 0x5A);
        const uint64_t value = 0x8877665544332211ull;
        le::Put(b.data(), bytes, value);
        const uint64_t mask = bytes == 8 ? ~0ull : (uint64_t{1} << (8 * bytes)) - 1;
        EXPECT_EQ(le::Get(b.data(), bytes), value & mask) << bytes << " bytes";
        EXPECT_EQ(b[size_t(bytes)], 0x5A) << bytes << " bytes";
    }
}

TEST(LittleEndian, SignedReadsExtendTheTopBitAtEveryWidth) {
    struct Case {
        std::array<uint8_t, 4> bytes;
        int width;
        int32_t expected;
    } cases[] = {
        {{0x80}, 1, -128},
        {{0x7F}, 1, 127},
        {{0x00, 0x80}, 2, -32768},
        {{0xFF, 0x7F}, 2, 32767},
        {{0xFF, 0xFF}, 2, -1},
        {{0x00, 0x00, 0x80}, 3, -8388608},
        {{0xFF, 0xFF, 0x7F}, 3, 8388607},
        {{0xFE, 0xFF, 0xFF}, 3, -2},
        {{0x00, 0x00, 0x00, 0x80}, 4, std::numeric_limits<int32_t>::min()},
        {{0xFF, 0xFF, 0xFF, 0x7F}, 4, std::numeric_limits<int32_t>::max()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(le::GetSigned(c.bytes.data(), c.width), c.expected)
            << c.width << " bytes, " << c.expected;
}

TEST(LittleEndian, FloatsAreStoredAsTheirIeeeBits) {
    std::array<uint8_t, 8> b{};
    le::PutValue(b.data(), 1.0f);
    EXPECT_EQ(le::Get32(b.data()), 0x3F800000u);
    EXPECT_EQ(le::GetValue<float>(b.data()), 1.0f);
    le::PutValue(b.data(), -2.5);
    EXPECT_EQ(le::Get(b.data(), 8), 0xC004000000000000ull);
    EXPECT_EQ(le::GetValue<double>(b.data()), -2.5);
}

} // namespace
