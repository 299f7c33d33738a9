#include "SignalSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

SignalConfig Quiet()
{
    SignalConfig config;
    config.Channel[0] = {0.0, 0.0, 0.0, 0.0};
    config.Channel[1] = {0.0, 0.0, 0.0, 0.0};
    config.Seed = 1;
    return config;
}

std::vector<std::int32_t> Draw(SignalSource& source, int channel, int count, int rateIndex, Filter filter)
{
    std::vector<std::int32_t> codes;
    for (int i = 0; i < count; ++i)
        codes.push_back(source.Code(channel, i, i / SampleRate(rateIndex), rateIndex, filter));
    return codes;
}

double RmsMicrovolts(const std::vector<std::int32_t>& codes)
{
    double sum = 0.0;
    for (std::int32_t code : codes)
        sum += code;
    const double mean = sum / codes.size();
    double squares = 0.0;
    for (std::int32_t code : codes)
        squares += (code - mean) * (code - mean);
    return std::sqrt(squares / codes.size()) * MicrovoltsPerCode;
}

TEST(SignalSource, DcLevelsPerChannelWithoutNoise)
{
    SignalConfig config = Quiet();
    config.Channel[0].DcMicrovolts = 1000.0;
    config.Channel[1].DcMicrovolts = -2000.0;
    SignalSource source(config);
    EXPECT_EQ(source.Code(0, 0, 0.0, 5, Filter::Sinc5Sinc1), MicrovoltsToCode(1000.0));
    EXPECT_EQ(source.Code(1, 7, 0.5, 5, Filter::Sinc5Sinc1), MicrovoltsToCode(-2000.0));
}

TEST(SignalSource, NoiseMatchesTheModelAtLowAndHighRates)
{
    SignalConfig config = Quiet();
    config.Channel[0].NoiseScale = 1.0;
    SignalSource source(config);
    // At 125 ksps the noise spans some 30 codes, so the quantisation hardly matters.
    EXPECT_NEAR(RmsMicrovolts(Draw(source, 0, 20000, 16, Filter::Sinc5Sinc1)), 9.0, 0.2);
    EXPECT_NEAR(RmsMicrovolts(Draw(source, 0, 20000, 16, Filter::Sinc3)), 7.2, 0.2);
    // At 100 sps it is about one code: the steps show, but it is neither zero nor large.
    const double low = RmsMicrovolts(Draw(source, 0, 20000, 5, Filter::Sinc5Sinc1));
    EXPECT_GT(low, 0.15);
    EXPECT_LT(low, 0.5);
}

TEST(SignalSource, NoiseScaleMultipliesTheModel)
{
    SignalConfig config = Quiet();
    config.Channel[1].NoiseScale = 10.0;
    SignalSource source(config);
    EXPECT_NEAR(RmsMicrovolts(Draw(source, 1, 20000, 16, Filter::Sinc5Sinc1)), 90.0, 2.0);
    EXPECT_NEAR(RmsMicrovolts(Draw(source, 0, 1000, 16, Filter::Sinc5Sinc1)), 0.0, 1e-9);
}

TEST(SignalSource, SameSeedSameNoiseOtherSeedOtherNoise)
{
    SignalConfig config = Quiet();
    config.Channel[0].NoiseScale = 1.0;
    SignalSource first(config);
    SignalSource second(config);
    config.Seed = 2;
    SignalSource third(config);
    const auto a = Draw(first, 0, 100, 16, Filter::Sinc5Sinc1);
    EXPECT_EQ(a, Draw(second, 0, 100, 16, Filter::Sinc5Sinc1));
    EXPECT_NE(a, Draw(third, 0, 100, 16, Filter::Sinc5Sinc1));
}

TEST(SignalSource, SineFollowsTheTimeOfTheSample)
{
    SignalConfig config = Quiet();
    config.Channel[0] = {100.0, 0.0, 500.0, 10.0};
    SignalSource source(config);
    EXPECT_EQ(source.Code(0, 0, 0.0, 8, Filter::Sinc5Sinc1), MicrovoltsToCode(100.0));
    EXPECT_EQ(source.Code(0, 25, 0.025, 8, Filter::Sinc5Sinc1), MicrovoltsToCode(600.0));
    EXPECT_EQ(source.Code(0, 75, 0.075, 8, Filter::Sinc5Sinc1), MicrovoltsToCode(-400.0));
}

TEST(SignalSource, CounterCountsConversionsWrapsAndOffsetsCh1)
{
    SignalConfig config = Quiet();
    config.CounterPattern = true;
    config.CounterStart = 16777214;
    config.CounterCh1Offset = 0x800000;
    config.Channel[0].NoiseScale = 1.0;  // the counter ignores the inputs
    SignalSource source(config);
    EXPECT_EQ(source.Code(0, 0, 0.0, 16, Filter::Sinc5Sinc1), 16777214);
    EXPECT_EQ(source.Code(0, 1, 0.0, 16, Filter::Sinc5Sinc1), 16777215);
    EXPECT_EQ(source.Code(0, 2, 0.0, 16, Filter::Sinc5Sinc1), 0);
    EXPECT_EQ(source.Code(1, 0, 0.0, 16, Filter::Sinc5Sinc1), (16777214 + 0x800000) % 16777216);
    EXPECT_EQ(source.Code(1, 3, 0.0, 16, Filter::Sinc5Sinc1), 0x800001);
}

}  // namespace
