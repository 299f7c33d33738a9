#include "CodeCounts.h"

#include <algorithm>
#include <numeric>

void CodeCounts::Add(const std::int32_t* codes, std::int64_t count, std::int64_t stride)
{
    if (count <= 0)
        return;
    std::int32_t lowest = codes[0];
    std::int32_t highest = codes[0];
    for (std::int64_t i = 0; i < count; ++i) {
        lowest = std::min(lowest, codes[i * stride]);
        highest = std::max(highest, codes[i * stride]);
    }
    Cover(lowest, highest);
    std::uint32_t* const zero = counts_.data() - first_;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int32_t code = codes[i * stride];
        if (++zero[code] == 0)
            ++wraps_[code];
    }
}

void CodeCounts::Merge(const CodeCounts& other)
{
    if (other.counts_.empty())
        return;
    Cover(other.first_, other.first_ + static_cast<std::int32_t>(other.counts_.size()) - 1);
    const std::size_t offset = static_cast<std::size_t>(static_cast<std::int64_t>(other.first_) - first_);
    for (std::size_t i = 0; i < other.counts_.size(); ++i)
        AddAt(offset + i, other.CountAt(i));
}

CodeCounts CodeCounts::FromParts(std::int32_t firstCode, const std::vector<std::int64_t>& counts)
{
    CodeCounts parts;
    parts.first_ = firstCode;
    parts.counts_.assign(counts.size(), 0);
    for (std::size_t i = 0; i < counts.size(); ++i)
        parts.AddAt(i, counts[i]);
    return parts;
}

std::vector<std::int64_t> CodeCounts::Counts() const
{
    std::vector<std::int64_t> counts(counts_.begin(), counts_.end());
    for (const auto& [code, wraps] : wraps_)
        counts[static_cast<std::size_t>(static_cast<std::int64_t>(code) - first_)] += wraps << 32;
    return counts;
}

std::int64_t CodeCounts::Total() const
{
    std::int64_t total = std::accumulate(counts_.begin(), counts_.end(), std::int64_t{0});
    for (const auto& [code, wraps] : wraps_)
        total += wraps << 32;
    return total;
}

std::int64_t CodeCounts::CountAt(std::size_t index) const
{
    const std::int64_t low = counts_[index];
    if (wraps_.empty())
        return low;
    const auto wrapped = wraps_.find(first_ + static_cast<std::int32_t>(index));
    return wrapped == wraps_.end() ? low : low + (wrapped->second << 32);
}

void CodeCounts::AddAt(std::size_t index, std::int64_t count)
{
    const std::uint64_t sum = std::uint64_t{counts_[index]} + static_cast<std::uint64_t>(count);
    counts_[index] = static_cast<std::uint32_t>(sum);
    if ((sum >> 32) != 0)
        wraps_[first_ + static_cast<std::int32_t>(index)] += static_cast<std::int64_t>(sum >> 32);
}

void CodeCounts::Cover(std::int32_t lowest, std::int32_t highest)
{
    if (counts_.empty()) {
        first_ = lowest;
        counts_.assign(static_cast<std::size_t>(static_cast<std::int64_t>(highest) - lowest + 1), 0);
        return;
    }
    // Room grows by half of what is held at least, so that a drifting signal
    // does not move the counters at every block.
    const std::int64_t held = static_cast<std::int64_t>(counts_.size());
    const std::int64_t last = first_ + held - 1;
    if (highest > last) {
        const std::int64_t room = std::min<std::int64_t>(std::max<std::int64_t>(highest, last + held / 2), INT32_MAX);
        counts_.resize(static_cast<std::size_t>(room - first_ + 1), 0);
    }
    if (lowest < first_) {
        const std::int64_t room = std::max<std::int64_t>(std::min<std::int64_t>(lowest, first_ - held / 2), INT32_MIN);
        counts_.insert(counts_.begin(), static_cast<std::size_t>(first_ - room), 0);
        first_ = static_cast<std::int32_t>(room);
    }
}

CodeHistogram CodeCounts::Histogram(double mean, double sigma, int mostBins) const
{
    CodeHistogram histogram;
    const std::int64_t total = Total();
    if (total == 0)
        return histogram;
    // The extremes are the first and last codes seen, not the room kept.
    std::size_t lowest = 0;
    while (CountAt(lowest) == 0)
        ++lowest;
    std::size_t highest = counts_.size() - 1;
    while (CountAt(highest) == 0)
        --highest;
    histogram.Lay(first_ + static_cast<std::int32_t>(lowest), first_ + static_cast<std::int32_t>(highest), mostBins);
    for (std::size_t i = lowest; i <= highest; ++i)
        histogram.Counts[(i - lowest) / static_cast<std::size_t>(histogram.BinCodes)] += CountAt(i);
    histogram.Total = total;
    histogram.Mean = mean;
    histogram.Sigma = sigma;
    return histogram;
}
