#include "model/CBeats.h"
#include "model/CTempoList.h"
#include "model/CVolumeList.h"
#include "model/PositionText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

TEST(TempoList, ConvertsTicksAndSecondsAcrossChanges) {
    CTempoList tempos;
    EXPECT_DOUBLE_EQ(tempos.TicksToSeconds(0, 480), 0.5);
    EXPECT_EQ(tempos.SecondsToTicks(0.5), 480);
    EXPECT_EQ(tempos.SecondsToTicks(0.00001), 0);

    tempos.Set({1920, 60.0});
    EXPECT_DOUBLE_EQ(tempos.TicksToSeconds(0, 2400), 3.0);
    EXPECT_DOUBLE_EQ(tempos.TicksToSeconds(960, 2400), 2.0);
    EXPECT_EQ(tempos.SecondsToTicks(3.0), 2400);
    EXPECT_EQ(tempos.TicksToSeconds(2400, 2400), 0.0);
}

TEST(TempoList, DeleteTimeLetsTheLaterSettingWinAtTheCut) {
    CTempoList tempos;
    tempos.Assign({{0, 120}, {1920, 90}, {3840, 60}});
    tempos.DeleteTime(1920, 1920);
    EXPECT_EQ(tempos.Items(), (std::vector<TEMPO>{{0, 120}, {1920, 60}}));

    tempos.Assign({{0, 120}, {2400, 90}});
    tempos.DeleteTime(1920, 1920);
    EXPECT_EQ(tempos.Items(), (std::vector<TEMPO>{{0, 120}}));
}

TEST(Beats, MeasuresFollowSignatureChanges) {
    CBeats beats;
    beats.Set({2, 3, 4});
    EXPECT_EQ(beats.MeasureToTick(3), 5280);
    EXPECT_EQ(beats.TickToMeasure(5279), 2);
    EXPECT_EQ(FormatPosition(beats, 5279), "3:1439");
    EXPECT_EQ(beats.TickToMeasure(-1), -1);
    EXPECT_EQ(beats.MeasureToTick(-1), -1920);
}

TEST(Beats, DeleteMeasureDropsTheEarlierOfAnEqualPair) {
    CBeats beats;
    beats.Assign({{0, 4, 4}, {1, 3, 4}, {2, 4, 4}});
    beats.DeleteMeasure(1);
    EXPECT_EQ(beats.Items(), (std::vector<BEAT>{{0, 4, 4}, {1, 4, 4}}));
}

TEST(PositionText, ParsesMeasureAndTick) {
    CBeats beats;
    EXPECT_EQ(ParsePosition(beats, "2"), 1920);
    EXPECT_EQ(ParsePosition(beats, "1:0"), 0);
    EXPECT_EQ(ParsePosition(beats, "0:100"), 0);
    EXPECT_EQ(ParsePosition(beats, "0:2000"), 80);
    EXPECT_EQ(ParsePosition(beats, "3:"), 3840);
    EXPECT_FALSE(ParsePosition(beats, "1:a"));
    EXPECT_FALSE(ParsePosition(beats, "1:2:3"));
    EXPECT_FALSE(ParsePosition(beats, "-1"));
}

namespace {

// The conversions as plain walks over the lists, the way they are defined.
double LinearTicksToSeconds(const std::vector<TEMPO>& tempos, int32_t from, int32_t to) {
    if (from >= to)
        return 0;
    int64_t cur = from;
    double sum = 0;
    size_t k = 0;
    for (;;) {
        while (k < tempos.size() && tempos[k].position <= cur)
            ++k;
        if (k == tempos.size() || tempos[k].position >= to)
            break;
        sum += (tempos[k].position - cur) * 0.125 / tempos[k - 1].tempo;
        cur = tempos[k].position;
    }
    return sum + (to - cur) * 0.125 / tempos[k - 1].tempo;
}

int32_t LinearSecondsToTicks(const std::vector<TEMPO>& tempos, double s) {
    size_t k = 0;
    for (size_t i = 0; i < tempos.size(); ++i) {
        if (LinearTicksToSeconds(tempos, 0, tempos[i].position) > s)
            break;
        k = i;
    }
    const double start = LinearTicksToSeconds(tempos, 0, tempos[k].position);
    return tempos[k].position + static_cast<int32_t>(std::trunc((s - start) * tempos[k].tempo * 8));
}

int32_t LinearMeasureToTick(const std::vector<BEAT>& beats, int32_t m) {
    int32_t acc = 0;
    size_t i = 0;
    while (i + 1 < beats.size() && beats[i + 1].measure <= m) {
        acc += beats[i].MeasureLength() * (beats[i + 1].measure - beats[i].measure);
        ++i;
    }
    return acc + beats[i].MeasureLength() * (m - beats[i].measure);
}

} // namespace

TEST(TempoList, FastConversionsAgreeWithTheDefinitionOnLongLists) {
    std::mt19937 rng(11);
    auto pick = [&rng](int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(rng);
    };
    std::vector<TEMPO> items{{0, 120.0}};
    for (int i = 0; i < 300; ++i)
        items.push_back({items.back().position + pick(1, 2000), pick(100, 10000) / 10.0});
    CTempoList tempos;
    tempos.Assign(items);
    const int32_t end = items.back().position + 5000;
    for (int i = 0; i < 2000; ++i) {
        const int32_t a = pick(0, end);
        const int32_t b = pick(0, end);
        const double expected = LinearTicksToSeconds(items, a, b);
        EXPECT_NEAR(tempos.TicksToSeconds(a, b), expected, 1e-12 * std::max(1.0, expected));
        // From tick 0 the sums are formed in the same order: exactly equal.
        EXPECT_EQ(tempos.TicksToSeconds(0, b), LinearTicksToSeconds(items, 0, b));
    }
    for (int i = 0; i < 300; ++i) {
        const double s = LinearTicksToSeconds(items, 0, pick(0, end)) + pick(0, 1000) / 1000.0;
        EXPECT_EQ(tempos.SecondsToTicks(s), LinearSecondsToTicks(items, s)) << s;
    }
    // Exactly at every change.
    for (const TEMPO& t : items)
        EXPECT_EQ(tempos.SecondsToTicks(tempos.SecondsAt(t.position)), t.position);
}

TEST(TempoList, SecondsToTicksStaysInRange) {
    CTempoList tempos;
    EXPECT_EQ(tempos.SecondsToTicks(-1.0), 0);
    EXPECT_EQ(tempos.SecondsToTicks(std::nan("")), 0);
    EXPECT_EQ(tempos.SecondsToTicks(1e300), INT32_MAX);
    EXPECT_EQ(tempos.SecondsToTicks(std::numeric_limits<double>::infinity()), INT32_MAX);
}

TEST(Beats, FastMeasureLookupsAgreeWithTheDefinition) {
    std::vector<BEAT> items{{0, 4, 4}};
    std::mt19937 rng(5);
    for (int i = 0; i < 100; ++i)
        items.push_back({items.back().measure + static_cast<int32_t>(rng() % 5) + 1,
                         static_cast<int32_t>(rng() % 64) + 1, 1 << (rng() % 5 + 1)});
    CBeats beats;
    beats.Assign(items);
    int32_t measure = 0;
    for (int32_t m = 0; m < items.back().measure + 10; ++m) {
        const int32_t start = LinearMeasureToTick(items, m);
        ASSERT_EQ(beats.MeasureToTick(m), start) << m;
        ASSERT_EQ(beats.TickToMeasure(start), m);
        if (m > 0) {
            ASSERT_EQ(beats.TickToMeasure(start - 1), m - 1);
        }
        measure = m;
    }
    EXPECT_GT(measure, 100);
    EXPECT_EQ(beats.MeasureToTick(-2), -3840) << "before the song the first signature repeats";
}

TEST(VolumeList, SetReplacesOrInsertsAndDeleteTimeShifts) {
    CVolumeList volumes;
    volumes.Set({960, 10});
    volumes.Set({480, 20});
    volumes.Set({960, 30});
    volumes.Set({0, 40});
    EXPECT_EQ(volumes.Items(), (std::vector<VOLUME>{{0, 40}, {480, 20}, {960, 30}}));
    EXPECT_EQ(volumes.VolumeAt(959), 20);
    EXPECT_EQ(volumes.VolumeAt(960), 30);

    volumes.Assign({{0, 1}, {1920, 2}, {2400, 3}, {3840, 4}, {5000, 5}});
    volumes.DeleteTime(1920, 1920);
    EXPECT_EQ(volumes.Items(), (std::vector<VOLUME>{{0, 1}, {1920, 4}, {3080, 5}}));
}
