// The device layer's lock-free queue, its sample conversion and the capture file, driven
// directly the way a backend's consumer drives them.

#include "audio/internal/CCaptureFile.h"
#include "audio/internal/CSampleCodec.h"
#include "audio/internal/CStreamQueue.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <vector>

TEST(CStreamQueue, HandsOutWholeFramesAcrossBufferBoundaries) {
    CStreamQueue queue(4);
    const std::vector<uint8_t> a = {1, 2, 3, 4, 5, 6}, b = {7}, c = {8, 9, 10, 11, 12, 13};
    ASSERT_TRUE(queue.Push(a.data(), 6));
    ASSERT_TRUE(queue.Push(nullptr, 0));
    ASSERT_TRUE(queue.Push(b.data(), 1));
    std::array<uint8_t, 16> out{};
    EXPECT_EQ(queue.Pull(out.data(), 16), 4u) << "the half frame waits for its rest";
    EXPECT_TRUE(queue.Publish());
    EXPECT_EQ(queue.Completed(), 3u) << "the empty buffer and the 1-byte one finished too";
    EXPECT_FALSE(queue.Publish());
    ASSERT_TRUE(queue.Push(c.data(), 6));
    EXPECT_EQ(queue.Pull(out.data(), 16), 8u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 8),
              (std::vector<uint8_t>{5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(queue.BytesPlayed(), 12u);
    queue.Publish();
    EXPECT_EQ(queue.Completed(), 4u);
    queue.Clear();
    EXPECT_EQ(queue.BytesPlayed(), 0u);
    EXPECT_EQ(queue.Completed(), 0u);
    EXPECT_EQ(queue.Pull(out.data(), 16), 0u) << "the byte left over went with the clear";
}

TEST(CStreamQueue, RefusesMoreThanItsCapacityAndStopsAtMaxBytes) {
    CStreamQueue queue(2);
    const std::vector<uint8_t> bytes(8, 3);
    for (uint32_t i = 0; i < CStreamQueue::kCapacity; ++i) {
        ASSERT_TRUE(queue.Push(bytes.data(), 8));
    }
    EXPECT_FALSE(queue.Push(bytes.data(), 8));
    std::array<uint8_t, 6> out{};
    EXPECT_EQ(queue.Pull(out.data(), 6), 6u);
    EXPECT_FALSE(queue.Publish());
    EXPECT_EQ(queue.Pull(out.data(), 2), 2u);
    EXPECT_TRUE(queue.Publish());
    EXPECT_TRUE(queue.Push(bytes.data(), 8)) << "a finished buffer frees its slot";
}

TEST(CSampleCodec, ConvertsEveryWidthToFloatWithTheVolume) {
    struct Case {
        WAVE_FORMAT format;
        std::vector<uint8_t> bytes;
        uint32_t volume;
        int outChannels;
        std::vector<float> out;
    };
    WAVE_FORMAT int32 = WAVE_FORMAT::Pcm(1, 8000, 32);
    int32.formatTag = WAVE_FORMAT::kPcm;
    const double half = 32767.0 / 65535.0;
    const Case cases[] = {
        {WAVE_FORMAT::Pcm(1, 8000, 8), {0, 128, 255}, 0xFFFFFFFF, 1, {-1.0f, 0.0f, 127 / 128.0f}},
        {WAVE_FORMAT::Pcm(1, 8000, 16), {0x00, 0x80}, 0xFFFFFFFF, 2, {-1.0f, -1.0f}},
        {WAVE_FORMAT::Pcm(2, 8000, 16),
         {0x00, 0x40, 0x00, 0x40},
         0xFFFF7FFF,
         2,
         {float(0.5 * half), 0.5f}},
        {WAVE_FORMAT::Pcm(1, 8000, 24), {0x00, 0x00, 0xC0}, 0xFFFFFFFF, 1, {-0.5f}},
        {int32, {0x00, 0x00, 0x00, 0x40}, 0x0000FFFF, 1, {0.5f}},
        {WAVE_FORMAT::Pcm(1, 8000, 32), {0x00, 0x00, 0x00, 0x3F}, 0, 1, {0.0f}},
        {WAVE_FORMAT::Pcm(1, 8000, 64), {0, 0, 0, 0, 0, 0, 0xF0, 0xBF}, 0xFFFFFFFF, 1, {-1.0f}},
        {WAVE_FORMAT::Pcm(1, 8000, 64), {0, 0, 0, 0, 0, 0, 0xF0, 0x7F}, 0xFFFFFFFF, 1, {1e30f}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(CSampleCodec::Check(c.format).isEmpty());
        const CSampleCodec codec(c.format);
        const uint32_t frames = uint32_t(c.bytes.size() / c.format.blockAlign);
        std::vector<float> out(size_t(frames) * c.outChannels, 99.0f);
        codec.ToFloat(c.bytes.data(), frames, c.volume, out.data(), c.outChannels);
        ASSERT_EQ(out.size(), c.out.size());
        for (size_t i = 0; i < out.size(); ++i) {
            EXPECT_FLOAT_EQ(out[i], c.out[i]) << c.format.bitsPerSample << " bits, sample " << i;
        }
    }
}

TEST(CCaptureFile, TheHeaderIsCompleteAfterEveryAppend) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cap.wav"));
    const auto read = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toHex() : QByteArray();
    };
    QString error;
    auto capture = CCaptureFile::Create(path, WAVE_FORMAT::Pcm(1, 22050, 8), error);
    ASSERT_TRUE(capture) << error.toStdString();
    // [WHEN] 7 bytes are recorded [THEN] the 18-byte format record, both sizes and the pad
    // byte are in place, as the capture files have always been written
    const uint8_t seven[] = {1, 2, 3, 4, 5, 6, 7};
    capture->Append(seven, sizeof seven);
    EXPECT_EQ(read(), QByteArray("524946462e00000057415645666d742012000000"
                                 "01000100225600002256000001000800000064617461070000000102030405"
                                 "060700"));
    // [WHEN] 3 more follow [THEN] they replace the pad byte and the sizes grow
    const uint8_t three[] = {8, 9, 10};
    capture->Append(three, sizeof three);
    const QByteArray grown = read();
    EXPECT_EQ(grown.mid(8, 8), QByteArray("30000000"));
    EXPECT_EQ(grown.mid(84), QByteArray("0a0000000102030405060708090a"));
}
