#include "model/CBeats.h"
#include "model/CTempoList.h"
#include "model/PositionText.h"

#include <gtest/gtest.h>

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
