#include "MeasureItems.h"
#include "SweepPlan.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

namespace {

TEST(MeasureItemsTest, RatesAreNamedByItemHalfItemOrIndex)
{
    EXPECT_EQ(MeasureItems::ParseRate(QStringLiteral("100sps")), 5);
    EXPECT_EQ(MeasureItems::ParseRate(QStringLiteral("125ksps")), 16);
    EXPECT_EQ(MeasureItems::ParseRate(QStringLiteral("49.96sps/50sps")), 3);
    EXPECT_EQ(MeasureItems::ParseRate(QStringLiteral("50sps")), 3);
    EXPECT_EQ(MeasureItems::ParseRate(QStringLiteral("59.92sps")), 4);
    EXPECT_EQ(MeasureItems::ParseRate(QStringLiteral("5")), 5);
    EXPECT_EQ(MeasureItems::ParseRate(QStringLiteral("16")), 16);
    for (const char* bad : {"17", "-1", "+5", " 5", "100", "100SPS", "", "05x"})
        EXPECT_FALSE(MeasureItems::ParseRate(QString::fromLatin1(bad))) << bad;
}

TEST(MeasureItemsTest, CountsAreNamedByItemOrIndex)
{
    EXPECT_EQ(MeasureItems::ParseCount(QStringLiteral("100")), 0);
    EXPECT_EQ(MeasureItems::ParseCount(QStringLiteral("100000")), 9);
    EXPECT_EQ(MeasureItems::ParseCount(QStringLiteral("3")), 3);
    for (const char* bad : {"10", "150", "1e3", "1000 "})
        EXPECT_FALSE(MeasureItems::ParseCount(QString::fromLatin1(bad))) << bad;
}

TEST(MeasureItemsTest, ChannelsAndFilters)
{
    EXPECT_EQ(MeasureItems::ParseChannel(QStringLiteral("2")), 2);
    EXPECT_FALSE(MeasureItems::ParseChannel(QStringLiteral("3")));
    EXPECT_EQ(MeasureItems::ParseFilter(QStringLiteral("sinc3")), 0);
    EXPECT_EQ(MeasureItems::ParseFilter(QStringLiteral("SINC5")), 1);
    EXPECT_EQ(MeasureItems::ParseFilter(QStringLiteral("Sinc5+Sinc1")), 1);
    EXPECT_FALSE(MeasureItems::ParseFilter(QStringLiteral("sinc4")));
}

TEST(MeasureItemsTest, ChunkSizesFollowTheRate)
{
    EXPECT_EQ(MeasureItems::ReadChunk(0), 1);
    EXPECT_EQ(MeasureItems::ReadChunk(4), 1);
    EXPECT_EQ(MeasureItems::ReadChunk(5), 2);
    EXPECT_EQ(MeasureItems::ReadChunk(7), 5);
    EXPECT_EQ(MeasureItems::ReadChunk(12), 250);
    EXPECT_EQ(MeasureItems::ReadChunk(13), 250);
    EXPECT_EQ(MeasureItems::ReadChunk(16), 1000);
    // Every count item is a whole number of chunks at every rate, so a run
    // ends exactly on its count.
    for (int rate = 0; rate < MeasureItems::RateCount; ++rate) {
        for (int count = 0; count < MeasureItems::CountCount; ++count) {
            const std::int32_t chunk = std::min(MeasureItems::ReadChunk(rate), MeasureItems::CountValue(count));
            EXPECT_EQ(MeasureItems::CountValue(count) % chunk, 0) << rate << " " << count;
        }
    }
}

TEST(MeasureItemsTest, DescribesTheHighestItemOfEachList)
{
    MeasureSettings settings;
    settings.spsSel = 16;
    settings.DataCountSel = 9;
    settings.CHSel = 2;
    settings.fSinc5 = 1;
    EXPECT_EQ(MeasureItems::Describe(settings), QStringLiteral("125ksps, 100000, CH0 + CH1, Sinc5+Sinc1"));
}

TEST(SweepPlanTest, ThirtyFourPointsSinc3First)
{
    const auto points = SweepPlan::Points(0, 3, 20.0);
    ASSERT_EQ(points.size(), 34u);
    EXPECT_EQ(points[0].fSinc5, 0);
    EXPECT_EQ(points[0].spsSel, 0);
    EXPECT_EQ(points[16].spsSel, 16);
    EXPECT_EQ(points[17].fSinc5, 1);
    EXPECT_EQ(points[17].spsSel, 0);
    EXPECT_EQ(points[33].spsSel, 16);
}

TEST(SweepPlanTest, SlowRatesTakeFewerSamplesButNeverBelowOneHundred)
{
    // 1000 requested, 20 s: 5 sps gives 100 samples (20 s), 10 sps 200,
    // 20 sps 200 (400 is no item, 500 would take 25 s), 49.96 sps 500 (1000
    // would take 20.02 s), 100 sps and faster the 1000 asked for.
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 3, 0, 20.0)), 100);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 3, 1, 20.0)), 200);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 3, 2, 20.0)), 200);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 3, 3, 20.0)), 500);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 3, 5, 20.0)), 1000);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 3, 16, 20.0)), 1000);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 9, 0, 0.1)), 100);
}

TEST(SweepPlanTest, PairsTakeTwiceAsLong)
{
    // 20 s at 100 sps: 2000 samples of one channel, 1000 pairs of both.
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(0, 9, 5, 20.0)), 2000);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(1, 9, 5, 20.0)), 2000);
    EXPECT_EQ(MeasureItems::CountValue(SweepPlan::CountFor(2, 9, 5, 20.0)), 1000);
    EXPECT_EQ(SweepPlan::Points(2, 9, 20.0)[5].DataCountSel, 3);
}

} // namespace
