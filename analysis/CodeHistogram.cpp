#include "CodeHistogram.h"

#include <algorithm>
#include <cmath>

namespace {

void MeanAndSigma(const std::int32_t* codes, std::int32_t count, CodeHistogram& histogram)
{
    double sum = 0.0;
    for (std::int32_t i = 0; i < count; ++i)
        sum += codes[i];
    const double mean = sum / count;
    double squares = 0.0;
    for (std::int32_t i = 0; i < count; ++i)
        squares += (codes[i] - mean) * (codes[i] - mean);
    histogram.Mean = mean;
    histogram.Sigma = std::sqrt(squares / count);
}

} // namespace

CodeHistogram CodeHistogram::Of(const std::int32_t* codes, std::int32_t count, int mostBins)
{
    CodeHistogram histogram;
    if (count <= 0)
        return histogram;
    const auto [lowest, highest] = std::minmax_element(codes, codes + count);
    histogram.Lay(*lowest, *highest, mostBins);
    for (std::int32_t i = 0; i < count; ++i)
        ++histogram.Counts[static_cast<std::size_t>((static_cast<std::int64_t>(codes[i]) - *lowest) / histogram.BinCodes)];
    histogram.Total = count;
    MeanAndSigma(codes, count, histogram);
    return histogram;
}

void CodeHistogram::Lay(std::int32_t lowest, std::int32_t highest, int mostBins)
{
    const std::int64_t span = static_cast<std::int64_t>(highest) - lowest + 1;
    FirstCode = lowest;
    BinCodes = static_cast<std::int32_t>((span + mostBins - 1) / mostBins);
    Counts.assign(static_cast<std::size_t>((span + BinCodes - 1) / BinCodes), 0);
}

double CodeHistogram::GaussianHeight(double code) const
{
    if (!(Sigma > 0.0))
        return 0.0;
    const double z = (code - Mean) / Sigma;
    return Total * static_cast<double>(BinCodes) * std::exp(-0.5 * z * z) / (Sigma * std::sqrt(2.0 * std::acos(-1.0)));
}
