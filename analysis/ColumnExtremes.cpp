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
    // The last column whose first sample is not after `first`.
    std::int64_t column = ((first + 1) * columns - 1) / samples_;
    std::int64_t next = FirstOf(column + 1);
    for (std::int64_t i = 0; i < count; ++i) {
        while (first + i >= next && column + 1 < columns) {
            ++column;
            next = FirstOf(column + 1);
        }
        const float value = values[i * stride];
        const std::size_t c = static_cast<std::size_t>(column);
        if (!filled_[c]) {
            low_[c] = high_[c] = value;
            filled_[c] = 1;
        } else {
            low_[c] = std::min(low_[c], value);
            high_[c] = std::max(high_[c], value);
        }
    }
}
