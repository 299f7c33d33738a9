// The arithmetic of a run (figures, spectrum, spurs, histogram, axes), on
// generated samples of known content.

#include "AxisTicks.h"
#include "ChannelData.h"
#include "ChannelFigures.h"
#include "CodeScale.h"
#include "CodeHistogram.h"
#include "SpurFinder.h"
#include "WelchDensity.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

const double Pi = std::acos(-1.0);

std::vector<float> Sine(int count, double rate, double hertz, double peak, double noise, unsigned seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> gauss(0.0, noise);
    std::vector<float> samples(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        samples[static_cast<std::size_t>(i)] =
            static_cast<float>(1000.0 + peak * std::sin(2.0 * Pi * hertz * i / rate) + (noise > 0 ? gauss(generator) : 0.0));
    return samples;
}

struct SineCase {
    int Count;
    double Rate;
    double Hertz;
    double Peak;
};

TEST(WelchSpectrumTest, SineShowsInItsBinWithItsAmplitude)
{
    const SineCase cases[] = {
        {10000, 1000.0, 50.0, 20.0},          // 50 Hz mains at 1 ksps
        {10000, 1000.0, 123.456, 2.0},         // between bins
        {100000, 125000.0, 3000.0, 50.0},     // fast rate, long run
        {300, 100.0, 17.3, 5.0},               // few samples, short segments
        {100000, 10000.0, 1234.8, 0.5},        // small line, near half a bin off
    };
    for (const SineCase& c : cases) {
        SCOPED_TRACE(c.Hertz);
        const std::vector<float> samples = Sine(c.Count, c.Rate, c.Hertz, c.Peak, 0.1, 7);
        const auto spectrum = WelchDensity::Estimate(samples.data(), c.Count, c.Rate);
        ASSERT_TRUE(spectrum);
        const std::vector<Spur> spurs = SpurFinder::Find(*spectrum, 8);
        ASSERT_FALSE(spurs.empty());
        EXPECT_NEAR(spurs.front().FrequencyHz, c.Hertz, spectrum->BinHz);
        EXPECT_LT(std::abs(20.0 * std::log10(spurs.front().AmplitudeMicrovolts / c.Peak)), 1.0);
    }
}

TEST(WelchSpectrumTest, WhiteNoiseIsFlatAtItsDensity)
{
    const double rate = 1000.0;
    const double sigma = 3.0;
    const std::vector<float> samples = Sine(100000, rate, 0.0, 0.0, sigma, 11);
    const auto spectrum = WelchDensity::Estimate(samples.data(), 100000, rate);
    ASSERT_TRUE(spectrum);
    const double expected = sigma * std::sqrt(2.0 / rate);
    // Eight bands from the first bin past the window's DC lobe to half the rate.
    const std::size_t first = 3;
    const std::size_t band = (spectrum->Density.size() - 1 - first) / 8;
    for (std::size_t b = 0; b < 8; ++b) {
        double power = 0.0;
        for (std::size_t k = first + b * band; k < first + (b + 1) * band; ++k)
            power += spectrum->Density[k] * spectrum->Density[k];
        EXPECT_NEAR(std::sqrt(power / band) / expected, 1.0, 0.1) << "band " << b;
    }
    EXPECT_NEAR(spectrum->MedianDensity() / expected, 1.0, 0.1);
    EXPECT_TRUE(SpurFinder::Find(*spectrum, 8).empty());
}

TEST(WelchSpectrumTest, SegmentsFollowTheRunsLength)
{
    EXPECT_EQ(WelchDensity::SegmentLength(256), 64);
    EXPECT_EQ(WelchDensity::SegmentLength(10000), 2048);
    EXPECT_EQ(WelchDensity::SegmentLength(100000), 16384);
    const std::vector<float> samples(255, 1.0f);
    EXPECT_FALSE(WelchDensity::Estimate(samples.data(), 255, 1000.0));
    EXPECT_FALSE(WelchDensity::Estimate(samples.data(), 255, 0.0));
}

TEST(SpurFinderTest, MainsHumAndItsHarmonicsAreMarked)
{
    struct Case {
        double Hertz;
        double BinHz;
        int MainsHz;
        int Harmonic;
    };
    const Case cases[] = {
        {50.0, 0.49, 50, 1},   {100.3, 0.49, 50, 2}, {120.1, 0.49, 60, 2}, {360.0, 0.49, 60, 6},
        {75.0, 0.49, 0, 0},    {49.0, 0.1, 0, 0},    {50.0, 15.0, 0, 0},  {1200.0, 0.49, 0, 0},
        // Bins too coarse to tell 50 Hz from 60 Hz mark neither.
        {50.0, 7.8125, 0, 0},  {60.0, 7.8125, 0, 0},
    };
    for (const Case& c : cases) {
        Spur spur;
        spur.FrequencyHz = c.Hertz;
        SpurFinder::MarkMains(spur, c.BinHz);
        EXPECT_EQ(spur.MainsHz, c.MainsHz) << c.Hertz;
        EXPECT_EQ(spur.Harmonic, c.Harmonic) << c.Hertz;
    }
}

TEST(CodeHistogramTest, CountsEachCodeOrEachRunOfCodes)
{
    const std::int32_t narrow[] = {8388605, 8388605, 8388606, 8388608, 8388605};
    const CodeHistogram single = CodeHistogram::Of(narrow, 5);
    EXPECT_EQ(single.FirstCode, 8388605);
    EXPECT_EQ(single.BinCodes, 1);
    EXPECT_EQ(single.Counts, (std::vector<std::int64_t>{3, 1, 0, 1}));
    EXPECT_DOUBLE_EQ(single.Mean, 8388605.8);
    EXPECT_NEAR(single.Sigma, std::sqrt((3 * 0.64 + 0.04 + 4.84) / 5), 1e-9);

    std::vector<std::int32_t> wide;
    for (std::int32_t code = 100; code < 300; ++code)
        wide.push_back(code);
    wide.push_back(299);
    const CodeHistogram binned = CodeHistogram::Of(wide.data(), static_cast<std::int32_t>(wide.size()), 64);
    EXPECT_EQ(binned.BinCodes, 4);
    ASSERT_EQ(binned.Counts.size(), 50u);
    EXPECT_EQ(binned.Counts.front(), 4);
    EXPECT_EQ(binned.Counts.back(), 5);

    EXPECT_TRUE(CodeHistogram::Of(narrow, 0).Counts.empty());
}

TEST(CodeHistogramTest, GaussianHasTheSamplesMeanSigmaAndArea)
{
    CodeHistogram h;
    h.Total = 1000;
    h.BinCodes = 2;
    h.Mean = 10.0;
    h.Sigma = 4.0;
    EXPECT_NEAR(h.GaussianHeight(10.0), 1000 * 2 / (4.0 * std::sqrt(2 * Pi)), 1e-9);
    EXPECT_NEAR(h.GaussianHeight(14.0) / h.GaussianHeight(10.0), std::exp(-0.5), 1e-12);
    h.Sigma = 0.0;
    EXPECT_EQ(h.GaussianHeight(10.0), 0.0);
}

TEST(AxisTicksTest, RoundStepsAndWholeDecades)
{
    using ::testing::DoubleNear;
    using ::testing::Pointwise;
    EXPECT_THAT(AxisTicks::Linear(978.0, 1022.0, 4),
                Pointwise(DoubleNear(1e-9), std::vector<double>{980, 990, 1000, 1010, 1020}));
    EXPECT_THAT(AxisTicks::Linear(0.0, 0.9, 4), Pointwise(DoubleNear(1e-12), std::vector<double>{0, 0.2, 0.4, 0.6, 0.8}));
    EXPECT_EQ(AxisTicks::Decimals({0.0, 0.2}), 1);
    EXPECT_EQ(AxisTicks::Decimals({0.0, 50.0}), 0);
    EXPECT_EQ(AxisTicks::Decades(0.03, 15.0), (std::vector<int>{-2, -1, 0, 1, 2}));
    EXPECT_EQ(AxisTicks::Decades(2.0, 3.0), (std::vector<int>{0, 1}));
}

// The microvolt extremes are those of the extreme codes, converted as the
// graph converts them, wherever in the run they lie.
TEST(ChannelFiguresTest, ExtremesAreTheGraphsAndStatisticsTheWindows)
{
    std::vector<std::int32_t> codes = {8388610, 16777215, 8388608, 0, 8388609};
    std::vector<float> microvolts;
    for (const std::int32_t code : codes)
        microvolts.push_back(static_cast<float>(CodeScale::CodeToMicrovolts(code, 1)));
    const ChannelData data{static_cast<std::int32_t>(codes.size()), codes.data(), microvolts.data()};
    const ChannelReport r = ChannelFigures::Of(data, 1);
    EXPECT_EQ(r.Channel, 1);
    EXPECT_EQ(r.Count, 5);
    EXPECT_EQ(r.MaxCode, 16777215);
    EXPECT_EQ(r.MinCode, 0);
    EXPECT_EQ(r.PeakToPeakCode, 16777215);
    EXPECT_EQ(r.MaxMicrovolts, 2500000.0f);
    EXPECT_EQ(r.MinMicrovolts, static_cast<float>(CodeScale::CodeToMicrovolts(0, 1)));
    EXPECT_DOUBLE_EQ(r.PeakToPeakMicrovolts, static_cast<double>(r.MaxMicrovolts) - r.MinMicrovolts);
    EXPECT_EQ(r.MeanCode, 8388608);  // 41943042 / 5, truncated
    EXPECT_DOUBLE_EQ(r.Noise.RmsMicrovolts, r.DevMicrovolts);
    EXPECT_TRUE(r.DigitText.isEmpty());
}

} // namespace
