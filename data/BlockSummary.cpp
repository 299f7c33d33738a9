#include "BlockSummary.h"

#include "CodeScale.h"

#include <algorithm>
#include <cmath>

// One pass in integers about the block's first code: each deviation is
// below 2^24 and its square below 2^48, so the sums of a block up to 2^12
// samples are exact in int64; only the last step, the squared sum over the
// count, is rounded (in long double).
BlockSummary BlockSummary::Of(const std::int32_t* codes, std::int64_t count, std::int64_t stride)
{
    const std::int64_t pivot = codes[0];
    std::int32_t smallest = codes[0];
    std::int32_t largest = codes[0];
    std::int64_t sum = 0;
    std::int64_t squares = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int32_t code = codes[i * stride];
        const std::int64_t d = code - pivot;
        sum += d;
        squares += d * d;
        smallest = std::min(smallest, code);
        largest = std::max(largest, code);
    }
    const long double m2 = static_cast<long double>(squares) - static_cast<long double>(sum) * sum / count;
    return BlockSummary{smallest, largest, count, sum + pivot * count, static_cast<double>(std::max(0.0L, m2))};
}

void BlockSummary::Merge(const BlockSummary& other)
{
    if (Count == 0) {
        *this = other;
        return;
    }
    const long double n = static_cast<long double>(Count) + other.Count;
    const long double delta = static_cast<long double>(other.Sum) / other.Count - static_cast<long double>(Sum) / Count;
    M2 = static_cast<double>(static_cast<long double>(M2) + other.M2 + delta * delta * Count * other.Count / n);
    Count += other.Count;
    Sum += other.Sum;
    Min = std::min(Min, other.Min);
    Max = std::max(Max, other.Max);
}

const char* BlockSummary::Fault(std::int64_t count) const
{
    if (Count != count)
        return "its count is not the samples it covers";
    if (Min < 0 || Max > CodeScale::FullScale || Min > Max)
        return "its min and max are no range of converter codes";
    // count stays below 2^37, so count · code stays within int64.
    if (Sum < static_cast<std::int64_t>(Min) * count || Sum > static_cast<std::int64_t>(Max) * count)
        return "its sum lies outside count times [min, max]";
    // No spread exceeds half the range: M2 ≤ count · (max − min)² / 4,
    // with room for M2's rounding.
    const long double half = (static_cast<long double>(Max) - Min) / 2;
    if (!std::isfinite(M2) || M2 < 0 || M2 > count * half * half * (1 + 1e-9L))
        return "its m2 is not a sum of squares its range allows";
    return nullptr;
}
