#include "ColumnExtremes.h"

#include <algorithm>

ColumnExtremes::ColumnExtremes(std::int64_t samples, int columns)
    : samples_(samples)
    , low_(static_cast<std::size_t>(std::max<std::int64_t>(0, std::min<std::int64_t>(columns, samples))))
    , high_(low_.size())
    , filled_(low_.size(), 0)
{
}

std::int64_t ColumnExtremes::FirstOf(std::int64_t column) const
{
    return column * samples_ / static_cast<std::int64_t>(low_.size());
}

void ColumnExtremes::Add(const float* values, std::int64_t first, std::int64_t count, std::int64_t stride)
{
    if (count <= 0 || low_.empty())
        return;
    const std::int64_t columns = static_cast<std::int64_t>(low_.size());
    // The last column whose first sample is not after `first`; then a
    // column's run of values at a time, so the inner loop holds no test but
    // the extremes'.
    std::int64_t column = std::min(((first + 1) * columns - 1) / samples_, columns - 1);
    for (std::int64_t i = 0; i < count; ++column) {
        const std::int64_t end = column + 1 < columns ? std::clamp(FirstOf(column + 1) - first, i, count) : count;
        if (end == i)
            continue;
        float low = values[i * stride];
        float high = low;
        for (std::int64_t j = i + 1; j < end; ++j) {
            low = std::min(low, values[j * stride]);
            high = std::max(high, values[j * stride]);
        }
        const std::size_t c = static_cast<std::size_t>(column);
        low_[c] = filled_[c] ? std::min(low_[c], low) : low;
        high_[c] = filled_[c] ? std::max(high_[c], high) : high;
        filled_[c] = 1;
        i = end;
    }
}
