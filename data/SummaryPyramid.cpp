#include "SummaryPyramid.h"

#include "LogLayout.h"

#include <algorithm>

SummaryPyramid::SummaryPyramid(int channels)
    : channels_(channels)
    , made_(LogLayout::SummaryLevels)
    , joined_(LogLayout::SummaryLevels, std::vector<BlockSummary>(static_cast<std::size_t>(channels), BlockSummary{}))
    , joinedRows_(LogLayout::SummaryLevels, 0)
{
    partial_.reserve(static_cast<std::size_t>(LogLayout::SummaryBlock * channels));
}

void SummaryPyramid::Add(const std::int32_t* codes, std::int64_t count)
{
    const std::int64_t blockValues = LogLayout::SummaryBlock * channels_;
    std::int64_t values = count * channels_;
    if (!partial_.empty()) {
        const std::int64_t taken = std::min(values, blockValues - static_cast<std::int64_t>(partial_.size()));
        partial_.insert(partial_.end(), codes, codes + taken);
        codes += taken;
        values -= taken;
        if (static_cast<std::int64_t>(partial_.size()) < blockValues)
            return;
        AddBlock(partial_.data());
        partial_.clear();
    }
    // Whole blocks straight from the caller's codes, no copy.
    for (; values >= blockValues; values -= blockValues, codes += blockValues)
        AddBlock(codes);
    partial_.assign(codes, codes + values);
}

const std::vector<BlockSummary>& SummaryPyramid::Made(int level) const
{
    return made_[static_cast<std::size_t>(level - 1)];
}

void SummaryPyramid::Clear()
{
    for (std::vector<BlockSummary>& rows : made_)
        rows.clear();
}

std::int64_t SummaryPyramid::RowSamples(int level)
{
    std::int64_t samples = LogLayout::SummaryBlock;
    for (int above = 1; above < level; ++above)
        samples *= LogLayout::SummaryFanOut;
    return samples;
}

void SummaryPyramid::AddBlock(const std::int32_t* codes)
{
    BlockSummary row[2];
    for (int channel = 0; channel < channels_; ++channel)
        row[channel] = BlockSummary::Of(codes + channel, LogLayout::SummaryBlock, channels_);
    AddRow(1, row);
}

// A row of `level`, joined into the row the level above is making; that
// row, once it holds SummaryFanOut, is a row of its own level in turn.
void SummaryPyramid::AddRow(int level, const BlockSummary* row)
{
    std::vector<BlockSummary>& made = made_[static_cast<std::size_t>(level - 1)];
    made.insert(made.end(), row, row + channels_);
    if (level == LogLayout::SummaryLevels)
        return;
    std::vector<BlockSummary>& joined = joined_[static_cast<std::size_t>(level)];
    for (int channel = 0; channel < channels_; ++channel)
        joined[static_cast<std::size_t>(channel)].Merge(row[channel]);
    int& rows = joinedRows_[static_cast<std::size_t>(level)];
    if (++rows < LogLayout::SummaryFanOut)
        return;
    const std::vector<BlockSummary> whole = joined;
    rows = 0;
    std::fill(joined.begin(), joined.end(), BlockSummary{});
    AddRow(level + 1, whole.data());
}
