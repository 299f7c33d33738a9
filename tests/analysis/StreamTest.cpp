// The per-block arithmetic of long streams: sound moments, exact counts,
// Welch's segment sums, and partial results that merge into the one-pass
// result; over a run the window could hold, the same report as the run's.

#include "ChannelData.h"
#include "ChannelStream.h"
#include "CodeCounts.h"
#include "CodeScale.h"
#include "ReportAnalysis.h"
#include "SampleMoments.h"
#include "WelchDensity.h"
#include "WelchSums.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

std::vector<std::int32_t> NoisyCodes(std::size_t count, std::int32_t centre, double sigma, unsigned seed)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> gauss(0.0, sigma);
    std::vector<std::int32_t> codes(count);
    for (std::size_t i = 0; i < count; ++i)
        codes[i] = centre + static_cast<std::int32_t>(std::lround(gauss(generator) + 40.0 * std::sin(i * 0.01)));
    return codes;
}

// Block boundaries: ragged lengths from a seed, covering [0, count).
std::vector<std::int64_t> Cuts(std::int64_t count, std::int64_t unit, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<std::int64_t> pieces(1, 9);
    std::vector<std::int64_t> cuts{0};
    while (cuts.back() < count)
        cuts.push_back(std::min(count, cuts.back() + pieces(generator) * unit));
    return cuts;
}

// A day near zero volts: codes of 8.4 million with a few codes of noise. The
// reference is exact: integer sums, the variance as one integer division.
TEST(SampleMomentsTest, LargeOffsetKeepsTheVarianceExactlyWhereDoubleSumsLoseIt)
{
    const std::vector<std::int32_t> codes = NoisyCodes(10'000'000, 8388608 + 3000, 1.7, 5);
    const auto n = static_cast<__int128>(codes.size());
    __int128 sum = 0;
    __int128 squares = 0;
    double naiveSum = 0.0;
    double naiveSquares = 0.0;
    for (const std::int32_t c : codes) {
        sum += c;
        squares += static_cast<__int128>(c) * c;
        naiveSum += c;
        naiveSquares += static_cast<double>(c) * c;
    }
    const long double exact = static_cast<long double>(n * squares - sum * sum) / static_cast<long double>(n * n);
    const long double exactMean = static_cast<long double>(sum) / static_cast<long double>(n);

    SampleMoments moments;
    for (std::size_t first = 0; first < codes.size(); first += 65536)
        moments.Add(codes.data() + first, static_cast<std::int64_t>(std::min<std::size_t>(65536, codes.size() - first)));
    EXPECT_EQ(moments.Count(), static_cast<std::int64_t>(codes.size()));
    EXPECT_NEAR(static_cast<double>((moments.Variance() - exact) / exact), 0.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(moments.Mean() - exactMean), 0.0, 1e-9);
    EXPECT_EQ(moments.Smallest(), *std::min_element(codes.begin(), codes.end()));
    EXPECT_EQ(moments.Largest(), *std::max_element(codes.begin(), codes.end()));

    // The case is one that needs the method: textbook sums in double miss.
    const double naive = naiveSquares / codes.size() - (naiveSum / codes.size()) * (naiveSum / codes.size());
    EXPECT_GT(std::abs(naive - static_cast<double>(exact)) / static_cast<double>(exact), 1e-3);
}

TEST(SampleMomentsTest, PartsMergedInAnyCutEqualOnePass)
{
    const std::vector<std::int32_t> codes = NoisyCodes(200'000, 8388608 - 70000, 3.0, 9);
    SampleMoments whole;
    whole.Add(codes.data(), static_cast<std::int64_t>(codes.size()));
    const std::vector<std::int64_t> cuts = Cuts(static_cast<std::int64_t>(codes.size()), 977, 2);
    // Merged as a tree of halves, as workers would join them.
    std::vector<SampleMoments> parts;
    for (std::size_t b = 0; b + 1 < cuts.size(); ++b) {
        parts.emplace_back();
        parts.back().Add(codes.data() + cuts[b], cuts[b + 1] - cuts[b]);
    }
    while (parts.size() > 1) {
        std::vector<SampleMoments> joined;
        for (std::size_t i = 0; i < parts.size(); i += 2) {
            joined.push_back(parts[i]);
            if (i + 1 < parts.size())
                joined.back().Merge(parts[i + 1]);
        }
        parts = joined;
    }
    EXPECT_EQ(parts[0].Count(), whole.Count());
    EXPECT_NEAR(static_cast<double>(parts[0].Mean() - whole.Mean()), 0.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(parts[0].Squares() / whole.Squares()), 1.0, 1e-13);
    EXPECT_EQ(parts[0].Smallest(), whole.Smallest());
    EXPECT_EQ(parts[0].Largest(), whole.Largest());
}

// Both channels of an interleaved (n, 2) block, read in place.
TEST(SampleMomentsTest, StrideReadsOneColumnOfAPairedBlock)
{
    const std::vector<std::int32_t> pairs = {10, 1000, 12, 2000, 14, 3000};
    SampleMoments ch1;
    ch1.Add(pairs.data() + 1, 3, 2);
    EXPECT_EQ(ch1.Count(), 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(ch1.Mean()), 2000.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(ch1.Squares()), 2'000'000.0);
}

TEST(CodeCountsTest, MergedCountsBinAsTheRunsHistogram)
{
    struct Case {
        std::size_t Count;
        double Sigma;
        int MostBins;
    };
    for (const Case& c : {Case{5000, 2.0, 64}, Case{50000, 900.0, 64}, Case{3000, 30.0, 7}}) {
        SCOPED_TRACE(c.Sigma);
        // A drift downward and upward makes the counters grow on both sides.
        std::vector<std::int32_t> codes = NoisyCodes(c.Count, 8388608, c.Sigma, 3);
        for (std::size_t i = 0; i < codes.size(); ++i)
            codes[i] += static_cast<std::int32_t>(i % 1000 < 500 ? -static_cast<int>(i) / 50 : static_cast<int>(i) / 40);
        const std::vector<std::int64_t> cuts = Cuts(static_cast<std::int64_t>(codes.size()), 101, 4);
        CodeCounts merged;
        for (std::size_t b = 0; b + 1 < cuts.size(); ++b) {
            CodeCounts part;
            part.Add(codes.data() + cuts[b], cuts[b + 1] - cuts[b]);
            merged.Merge(part);
        }
        const CodeHistogram expected =
            CodeHistogram::Of(codes.data(), static_cast<std::int32_t>(codes.size()), c.MostBins);
        const CodeHistogram streamed = merged.Histogram(expected.Mean, expected.Sigma, c.MostBins);
        EXPECT_EQ(merged.Total(), static_cast<std::int64_t>(codes.size()));
        EXPECT_EQ(streamed.FirstCode, expected.FirstCode);
        EXPECT_EQ(streamed.BinCodes, expected.BinCodes);
        EXPECT_EQ(streamed.Counts, expected.Counts);
        EXPECT_EQ(streamed.Total, expected.Total);
    }
}

std::vector<float> Microvolts(const std::vector<std::int32_t>& codes)
{
    std::vector<float> microvolts;
    for (const std::int32_t code : codes)
        microvolts.push_back(static_cast<float>(CodeScale::CodeToMicrovolts(code, 1)));
    return microvolts;
}

// Blocks on multiples of the hop with one hop of look-ahead, and ragged
// blocks with a segment less one, take exactly the one-pass segments.
// A day at 125 ksps puts more than 2^31 samples on the commonest codes, a
// week more than 2^32: counts past what a counter holds, also when merged.
TEST(CodeCountsTest, BinsPastThirtyTwoBitsStayExact)
{
    const std::int64_t many = 5'000'000'000;
    const std::int64_t full = (std::int64_t{1} << 32) - 1;
    CodeCounts counts = CodeCounts::FromParts(8388608, {many, 1, many + 7});
    counts.Merge(CodeCounts::FromParts(8388609, {full, 3}));
    const std::vector<std::int64_t> expected{many, full + 1, many + 10};
    EXPECT_EQ(counts.Counts(), expected);
    const CodeHistogram histogram = counts.Histogram(8388609.0, 1.0);
    EXPECT_EQ(histogram.Counts, expected);
    EXPECT_EQ(histogram.Total, 2 * many + full + 11);
}

TEST(WelchSumsTest, BlocksWithTheirLookAheadSumTheOnePassSegments)
{
    const std::vector<float> samples = Microvolts(NoisyCodes(50'000, 8388608, 5.0, 6));
    const std::int64_t count = static_cast<std::int64_t>(samples.size());
    const std::int32_t length = 2048;
    WelchSums whole(length);
    whole.Add(samples.data(), 0, count, count);
    ASSERT_EQ(whole.Segments(), (count - length) / (length / 2) + 1);

    struct Case {
        std::int64_t Unit;
        std::int64_t LookAhead;
    };
    // Quarter-segment cuts fall on hops now and then, and between them.
    for (const Case& c : {Case{length / 2, length / 2}, Case{length / 4, length - 1}}) {
        SCOPED_TRACE(c.Unit);
        const std::vector<std::int64_t> cuts = Cuts(count, c.Unit, 8);
        WelchSums merged(length);
        for (std::size_t b = cuts.size() - 1; b-- > 0;) {  // last block first
            WelchSums part(length);
            const std::int64_t available = std::min(count, cuts[b + 1] + c.LookAhead) - cuts[b];
            part.Add(samples.data() + cuts[b], cuts[b], cuts[b + 1] - cuts[b], available);
            merged.Merge(part);
        }
        EXPECT_EQ(merged.Segments(), whole.Segments());
        for (std::size_t k = 0; k < whole.Summed().size(); ++k)
            ASSERT_NEAR(merged.Summed()[k] / whole.Summed()[k], 1.0, 1e-12) << k;
    }
}

// Over runs the window could hold, streamed in blocks, the report is the
// run's: the same figures, the same histogram, the same spectrum.
TEST(ChannelStreamTest, RunSizedStreamGivesTheRunsReport)
{
    struct Case {
        std::size_t Count;
        std::int64_t Block;
        std::int32_t Centre;
    };
    for (const Case& c : {Case{100, 7, 8388608}, Case{1000, 64, 100}, Case{10'000, 4096, 16'000'000},
                          Case{100'000, 65'536, 8388608 + 12345}}) {
        SCOPED_TRACE(c.Count);
        std::vector<std::int32_t> codes = NoisyCodes(c.Count, c.Centre, 4.0, 12);
        std::vector<float> microvolts = Microvolts(codes);
        const ChannelData data{static_cast<std::int32_t>(c.Count), codes.data(), microvolts.data()};
        const RunAnalysis run = ReportAnalysis::Of(QString(), MeasureSettings{}, data, ChannelData{});
        const ChannelAnalysis& expected = run.Channels.at(0);

        const std::int64_t count = static_cast<std::int64_t>(c.Count);
        ChannelStream stream(count, 1);
        const std::int64_t lookAhead = WelchDensity::SegmentLength(count);
        for (std::int64_t first = 0; first < count; first += c.Block)
            stream.Add(codes.data() + first, first, std::min(c.Block, count - first),
                       std::min(count - first, c.Block + lookAhead));
        const ChannelAnalysis streamed = stream.Analysis(0, run.SampleRate);

        const ChannelReport& f = streamed.Figures;
        const ChannelReport& e = expected.Figures;
        EXPECT_EQ(f.Count, e.Count);
        EXPECT_EQ(f.MaxCode, e.MaxCode);
        EXPECT_EQ(f.MinCode, e.MinCode);
        EXPECT_EQ(f.MaxMicrovolts, e.MaxMicrovolts);
        EXPECT_EQ(f.MinMicrovolts, e.MinMicrovolts);
        EXPECT_EQ(f.MeanCode, e.MeanCode);
        EXPECT_FLOAT_EQ(f.DevCode, e.DevCode);
        EXPECT_FLOAT_EQ(f.MeanMicrovolts, e.MeanMicrovolts);
        EXPECT_FLOAT_EQ(f.DevMicrovolts, e.DevMicrovolts);
        EXPECT_EQ(f.Noise.EffectiveBits.has_value(), e.Noise.EffectiveBits.has_value());
        EXPECT_NEAR(*f.Noise.EffectiveBits, *e.Noise.EffectiveBits, 1e-6);
        EXPECT_EQ(f.Noise.NoiseFreeBits, e.Noise.NoiseFreeBits);

        EXPECT_EQ(streamed.Histogram.FirstCode, expected.Histogram.FirstCode);
        EXPECT_EQ(streamed.Histogram.Counts, expected.Histogram.Counts);
        EXPECT_NEAR(streamed.Histogram.Mean, expected.Histogram.Mean, 1e-6);
        EXPECT_NEAR(streamed.Histogram.Sigma, expected.Histogram.Sigma, 1e-9);

        ASSERT_EQ(streamed.Spectrum.has_value(), expected.Spectrum.has_value());
        EXPECT_EQ(streamed.NoSpectrum, expected.NoSpectrum);
        if (!expected.Spectrum)
            continue;
        EXPECT_EQ(streamed.Spectrum->Segments, expected.Spectrum->Segments);
        ASSERT_EQ(streamed.Spectrum->Density.size(), expected.Spectrum->Density.size());
        for (std::size_t k = 0; k < expected.Spectrum->Density.size(); ++k)
            ASSERT_NEAR(streamed.Spectrum->Density[k] / expected.Spectrum->Density[k], 1.0, 1e-12) << k;
        EXPECT_EQ(streamed.Spurs.size(), expected.Spurs.size());
    }
}

} // namespace
