#pragma once

#include <cstdint>
#include <vector>

// How often each code (or each run of BinCodes codes) occurs in a channel,
// from its smallest code up, with the samples' mean and population
// standard deviation in codes, so that the Gaussian they describe can be
// laid over the bars.
class CodeHistogram {
public:
    static constexpr int MostBins = 64;

    // No bins for no samples.
    static CodeHistogram Of(const std::int32_t* codes, std::int32_t count, int mostBins = MostBins);

    // The height a bar would have at `code` if the Total samples followed
    // the Gaussian of their Mean and Sigma: Total · BinCodes times its
    // density. 0 everywhere when Sigma is 0.
    double GaussianHeight(double code) const;

    // The bins for codes lowest..highest, all empty: FirstCode, BinCodes (so
    // that at most mostBins cover them) and Counts.
    void Lay(std::int32_t lowest, std::int32_t highest, int mostBins);

    std::int32_t FirstCode = 0;
    std::int32_t BinCodes = 1;
    std::vector<std::int64_t> Counts;  // 64 bits: a day's log at full rate puts billions in a bin
    std::int64_t Total = 0;
    double Mean = 0.0;
    double Sigma = 0.0;
};
