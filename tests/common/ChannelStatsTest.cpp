#include "ChannelStats.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Channel {
    std::vector<std::int32_t> codes;
    std::vector<float> microvolts;
    ChannelData data;

    Channel(std::vector<std::int32_t> c, std::vector<float> uv = {})
        : codes(std::move(c)), microvolts(std::move(uv))
    {
        if (microvolts.empty())
            microvolts.assign(codes.size(), 0.0f);
        data = {static_cast<std::int32_t>(codes.size()), codes.data(), microvolts.data()};
    }
};

TEST(CodeStats, MeanTruncatesTowardZeroAndDeviationIsAboutIt)
{
    Channel ch({1, 2});
    ChannelStats stats;
    ComputeCodeStats(ch.data, stats);
    EXPECT_EQ(stats.MeanCode, 1);
    // About the integer mean 1 the squares are 0 and 1: sqrt(1/2).
    EXPECT_FLOAT_EQ(stats.DevCode, 0.70710678f);
}

TEST(CodeStats, IdenticalSamplesHaveNoDeviation)
{
    Channel ch(std::vector<std::int32_t>(1000, 8388608), std::vector<float>(1000, 0.25f));
    ChannelStats stats;
    ComputeCodeStats(ch.data, stats);
    ComputeMicrovoltStats(ch.data, stats);
    EXPECT_EQ(stats.MeanCode, 8388608);
    EXPECT_EQ(stats.DevCode, 0.0f);
    EXPECT_EQ(stats.MeanMicrovolts, 0.25f);
    EXPECT_EQ(stats.DevMicrovolts, 0.0f);
}

TEST(CodeStats, PopulationDeviationDividesByN)
{
    Channel ch({2, 4, 4, 4, 5, 5, 7, 9}); // the textbook set: mean 5, deviation 2
    ChannelStats stats;
    ComputeCodeStats(ch.data, stats);
    EXPECT_EQ(stats.MeanCode, 5);
    EXPECT_FLOAT_EQ(stats.DevCode, 2.0f);
}

TEST(CodeStats, FullScaleCodesDoNotOverflow)
{
    Channel ch({0, 16777215});
    ChannelStats stats;
    ComputeCodeStats(ch.data, stats);
    EXPECT_EQ(stats.MeanCode, 8388607);
    EXPECT_FLOAT_EQ(stats.DevCode, 8388607.5f);
}

TEST(CodeStats, EmptyChannelKeepsPreviousValues)
{
    Channel ch({});
    ChannelStats stats{12, 3.5f, -1.0f, 0.5f};
    ComputeCodeStats(ch.data, stats);
    ComputeMicrovoltStats(ch.data, stats);
    EXPECT_EQ(stats.MeanCode, 12);
    EXPECT_EQ(stats.DevCode, 3.5f);
    EXPECT_EQ(stats.MeanMicrovolts, -1.0f);
    EXPECT_EQ(stats.DevMicrovolts, 0.5f);
}

TEST(MicrovoltStats, DeviationIsAboutTheStoredFloatMean)
{
    Channel ch({0, 0, 0}, {-1.0f, 0.0f, 4.0f});
    ChannelStats stats;
    ComputeMicrovoltStats(ch.data, stats);
    EXPECT_FLOAT_EQ(stats.MeanMicrovolts, 1.0f);
    EXPECT_FLOAT_EQ(stats.DevMicrovolts, 2.1602469f); // sqrt((4 + 1 + 9) / 3)
}

} // namespace
