#include "ConverterModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ConverterRates, AreTheSeventeenRatesInDigitOrder)
{
    const double expected[RateCount] = {5,    10,   20,    49.96, 59.92, 100,   200,   500,   1000,
                                        2500, 5000, 10000, 25000, 31250, 50000, 62500, 125000};
    for (int i = 0; i < RateCount; ++i)
        EXPECT_DOUBLE_EQ(SampleRate(i), expected[i]) << "index " << i;
    EXPECT_DOUBLE_EQ(SampleRate(-1), 5);
    EXPECT_DOUBLE_EQ(SampleRate(17), 125000);
}

TEST(ConverterRates, TwoChannelFramesAreHalfTheRateUpTo10k)
{
    for (int i = 0; i <= 11; ++i)
        EXPECT_DOUBLE_EQ(TwoChannelFrameRate(i), SampleRate(i) / 2) << "index " << i;
}

TEST(ConverterRates, TwoChannelFramesPayTheSwitchSettlingAbove10k)
{
    // Half of 1 / (1/rate + settling).
    EXPECT_NEAR(TwoChannelFrameRate(12), 0.5 / (40e-6 + 56e-6), 1e-6);
    EXPECT_NEAR(TwoChannelFrameRate(13), 6250.0, 1e-6);
    EXPECT_NEAR(TwoChannelFrameRate(14), 0.5 / (20e-6 + 36e-6), 1e-6);
    EXPECT_NEAR(TwoChannelFrameRate(15), 0.5 / (16e-6 + 32e-6), 1e-6);
    EXPECT_NEAR(TwoChannelFrameRate(16), 15625.0, 1e-6);
}

TEST(ConverterNoise, RunsFromTheFloorAt5spsToNineMicrovoltsAt125k)
{
    EXPECT_NEAR(NoiseRmsMicrovolts(0, Filter::Sinc5Sinc1), 0.15, 0.005);
    EXPECT_NEAR(NoiseRmsMicrovolts(16, Filter::Sinc5Sinc1), 9.0, 0.01);
    EXPECT_NEAR(NoiseRmsMicrovolts(16, Filter::Sinc3), 7.2, 0.01);
}

TEST(ConverterNoise, GrowsWithTheRateAndSinc3IsQuieter)
{
    for (int i = 0; i < RateCount; ++i) {
        EXPECT_LT(NoiseRmsMicrovolts(i, Filter::Sinc3), NoiseRmsMicrovolts(i, Filter::Sinc5Sinc1)) << "index " << i;
        if (i > 0) {
            EXPECT_GT(NoiseRmsMicrovolts(i, Filter::Sinc5Sinc1), NoiseRmsMicrovolts(i - 1, Filter::Sinc5Sinc1));
        }
    }
    // Well above the floor the square root rules: 4 times the rate, twice the noise.
    EXPECT_NEAR(NoiseRmsMicrovolts(16, Filter::Sinc5Sinc1) / NoiseRmsMicrovolts(13, Filter::Sinc5Sinc1), 2.0, 0.001);
}

TEST(ConverterCodes, ZeroVoltsIsMidScaleAndOneCodeIsOneStep)
{
    EXPECT_EQ(MicrovoltsToCode(0.0), 8388608);
    EXPECT_EQ(MicrovoltsToCode(MicrovoltsPerCode), 8388609);
    EXPECT_EQ(MicrovoltsToCode(-MicrovoltsPerCode), 8388607);
    EXPECT_EQ(MicrovoltsToCode(0.49 * MicrovoltsPerCode), 8388608);
    EXPECT_EQ(MicrovoltsToCode(1000.0), 8388608 + 3355);  // 1000 / 0.2980 = 3355.4
}

TEST(ConverterCodes, ClampToTheCodeRange)
{
    EXPECT_EQ(MicrovoltsToCode(2.6e6), MaxCode);
    EXPECT_EQ(MicrovoltsToCode(-2.6e6), 0);
    EXPECT_EQ(MicrovoltsToCode(8388607 * MicrovoltsPerCode), MaxCode);
    EXPECT_EQ(MicrovoltsToCode(-8388608 * MicrovoltsPerCode), 0);
    EXPECT_EQ(MicrovoltsToCode(std::numeric_limits<double>::infinity()), MaxCode);
    EXPECT_EQ(MicrovoltsToCode(std::nan("")), 0);
}

}  // namespace
