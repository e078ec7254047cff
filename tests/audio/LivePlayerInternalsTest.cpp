// The live player's bookkeeping driven directly: which data frame the device plays at a
// point of its stream, and the sample arithmetic of clicks and crossfades in every format.

#include "audio/internal/CPcmMixer.h"
#include "audio/internal/CStreamMap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(CStreamMap, MapsStreamFramesThroughWrapsAndJumps) {
    CStreamMap map;
    EXPECT_EQ(map.FrameAt(0, 77), 77u) << "nothing queued";
    // 0..99, then a loop wrap to 50..99 (in two appends that join), then a jump to 500.
    map.Append(0, 0, 60);
    map.Append(60, 60, 40);
    map.Append(100, 50, 30);
    map.Append(130, 80, 20);
    map.Append(150, 500, 10);
    struct Case {
        uint64_t played, frame;
    };
    const Case cases[] = {{0, 0},    {59, 59},   {99, 99},   {100, 50},
                          {149, 99}, {150, 500}, {159, 509}, {400, 510}};
    for (const Case& c : cases) {
        EXPECT_EQ(map.FrameAt(c.played, 0), c.frame) << c.played;
    }
    map.Clear();
    EXPECT_EQ(map.FrameAt(0, 3), 3u);
}

TEST(CStreamMap, TellsWhetherTheQueuedSoundRunsPastAFrame) {
    CStreamMap map;
    map.Append(0, 0, 100);   // 0..99
    map.Append(100, 40, 60); // wrapped: 40..99
    struct Case {
        uint64_t played, frame;
        bool crosses;
    };
    const Case cases[] = {
        {0, 50, true},    // ahead in the first stretch
        {60, 50, true},   // heard in the first stretch, ahead again after the wrap
        {150, 50, false}, // heard in both
        {10, 99, false},  // the last frame queued: the cursor still stands on the loop's end
        {10, 98, true},   {0, 120, false}, // never queued
    };
    for (const Case& c : cases) {
        EXPECT_EQ(map.Crosses(c.played, c.frame), c.crosses) << c.played << " " << c.frame;
    }
}

TEST(CPcmMixer, AddsAndBlendsInEveryFormatWithinItsRange) {
    struct Case {
        WAVE_FORMAT format;
        std::vector<uint8_t> frame;    // one frame, all channels
        double add;                    // added to every channel
        std::vector<uint8_t> expected; // afterwards
    };
    auto f32 = [](float v) {
        std::vector<uint8_t> b(4);
        std::memcpy(b.data(), &v, 4);
        return b;
    };
    const Case cases[] = {
        {WAVE_FORMAT::Pcm(1, 8000, 8), {0x80}, 0.5, {0xC0}},
        {WAVE_FORMAT::Pcm(1, 8000, 8), {0xF0}, 0.5, {0xFF}}, // clipped
        {WAVE_FORMAT::Pcm(2, 8000, 16), {0x00, 0x10, 0xFF, 0xFF}, 0.25, {0x00, 0x30, 0xFF, 0x1F}},
        {WAVE_FORMAT::Pcm(1, 8000, 16), {0x00, 0x80}, -0.5, {0x00, 0x80}}, // clipped below
        {WAVE_FORMAT::Pcm(1, 8000, 24), {0x00, 0x00, 0x00}, -0.5, {0x00, 0x00, 0xC0}},
        {WAVE_FORMAT::Pcm(1, 8000, 32), f32(0.75f), 0.5, f32(1.25f)}, // float: not clipped
    };
    for (const Case& c : cases) {
        const CPcmMixer mixer(c.format);
        std::vector<uint8_t> frame = c.frame;
        mixer.Add(frame.data(), c.add);
        EXPECT_EQ(frame, c.expected) << c.format.bitsPerSample << " bits, " << c.add;
    }

    const CPcmMixer mixer(WAVE_FORMAT::Pcm(2, 8000, 16));
    std::vector<uint8_t> frame = {0x00, 0x40, 0x00, 0x40};       // 0.5, 0.5
    const std::vector<uint8_t> other = {0x00, 0xC0, 0x00, 0x00}; // -0.5, 0
    mixer.Blend(frame.data(), other.data(), 0.25);
    EXPECT_EQ(frame, (std::vector<uint8_t>{0x00, 0xE0, 0x00, 0x10})) << "-0.25 and 0.125";
    mixer.Blend(frame.data(), nullptr, 0.5);
    EXPECT_EQ(frame, (std::vector<uint8_t>{0x00, 0xF0, 0x00, 0x08})) << "halved towards silence";
}
