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
    std::int64_t* const zero = counts_.data() - first_;
    for (std::int64_t i = 0; i < count; ++i)
        ++zero[codes[i * stride]];
}

void CodeCounts::Merge(const CodeCounts& other)
{
    if (other.counts_.empty())
        return;
    Cover(other.first_, other.first_ + static_cast<std::int32_t>(other.counts_.size()) - 1);
    const std::size_t offset = static_cast<std::size_t>(static_cast<std::int64_t>(other.first_) - first_);
    for (std::size_t i = 0; i < other.counts_.size(); ++i)
        counts_[offset + i] += other.counts_[i];
}

CodeCounts CodeCounts::FromParts(std::int32_t firstCode, std::vector<std::int64_t> counts)
{
    CodeCounts parts;
    parts.first_ = firstCode;
    parts.counts_ = std::move(counts);
    return parts;
}

std::int64_t CodeCounts::Total() const
{
    return std::accumulate(counts_.begin(), counts_.end(), std::int64_t{0});
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
    const auto nonZero = [](std::int64_t n) { return n != 0; };
    const std::size_t lowest = static_cast<std::size_t>(std::find_if(counts_.begin(), counts_.end(), nonZero) - counts_.begin());
    const std::size_t highest =
        counts_.size() - 1 - static_cast<std::size_t>(std::find_if(counts_.rbegin(), counts_.rend(), nonZero) - counts_.rbegin());
    histogram.Lay(first_ + static_cast<std::int32_t>(lowest), first_ + static_cast<std::int32_t>(highest), mostBins);
    for (std::size_t i = lowest; i <= highest; ++i)
        histogram.Counts[(i - lowest) / static_cast<std::size_t>(histogram.BinCodes)] += counts_[i];
    histogram.Total = total;
    histogram.Mean = mean;
    histogram.Sigma = sigma;
    return histogram;
}
