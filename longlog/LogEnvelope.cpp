#include "LogEnvelope.h"

#include "CodeScale.h"
#include "LogLayout.h"
#include "LogSource.h"

#include <algorithm>
#include <future>
#include <limits>

bool LogEnvelope::Read(LogSource& log, std::int64_t first, std::int64_t last, int columns, const Progress& progress)
{
    first_ = std::clamp<std::int64_t>(first, 0, std::max<std::int64_t>(log.Samples() - 1, 0));
    count_ = std::clamp<std::int64_t>(last - first_ + 1, 0, log.Samples() - first_);
    raw_ = count_ <= 2 * static_cast<std::int64_t>(columns);
    columns_.assign(static_cast<std::size_t>(log.Channels()), ColumnExtremes(count_, std::max(columns, 1)));
    codes_.assign(static_cast<std::size_t>(log.Channels()), {});
    sums_.assign(static_cast<std::size_t>(log.Channels()), std::vector<double>(static_cast<std::size_t>(std::max(columns, 1))));
    counts_.assign(static_cast<std::size_t>(log.Channels()),
                   std::vector<std::int64_t>(static_cast<std::size_t>(std::max(columns, 1))));
    error_.clear();
    level_ = raw_ ? 0 : LevelFor(log, count_, columns);
    return level_ > 0 ? ReadLevel(log, level_, 0, progress) : ReadBlocks(log, 0, count_, progress);
}

int LogEnvelope::LevelFor(const LogSource& log, std::int64_t samples, int columns)
{
    int level = 0;
    for (std::int64_t block = LogLayout::SummaryBlock; level < log.SummaryLevels() && block * columns <= samples;
         block *= LogLayout::SummaryFanOut)
        ++level;
    return level;
}

// Samples from..count_ of the stretch from the level's rows, as far as the
// level has them; the rest (a log's end, in no whole block of the level)
// from the next finer level, down to the codes after the last whole block.
bool LogEnvelope::ReadLevel(LogSource& log, int level, std::int64_t from, const Progress& progress)
{
    std::int64_t block = LogLayout::SummaryBlock;
    for (int l = 1; l < level; ++l)
        block *= LogLayout::SummaryFanOut;
    const int channels = log.Channels();
    const std::int64_t firstRow = (first_ + from) / block;
    const std::int64_t endRow = std::min((first_ + count_) / block + 1, log.SummaryRows(level));
    std::vector<BlockSummary> rows;
    if (endRow > firstRow && !log.ReadSummary(level, firstRow, endRow - firstRow, rows)) {
        error_ = log.Error();
        return false;
    }
    for (std::int64_t r = 0; r < endRow - firstRow; ++r) {
        const std::int64_t at = std::max((firstRow + r) * block - first_, std::int64_t{0});
        for (int c = 0; c < channels; ++c) {
            const BlockSummary& row = rows[static_cast<std::size_t>(r * channels + c)];
            const float extremes[] = {static_cast<float>(row.Min), static_cast<float>(row.Max)};
            columns_[static_cast<std::size_t>(c)].Add(extremes, at, 1);
            columns_[static_cast<std::size_t>(c)].Add(extremes + 1, at, 1);
            AddToMean(c, at, static_cast<double>(row.Sum), row.Count);
        }
    }
    const std::int64_t covered = std::max(endRow * block - first_, from);
    if (covered >= count_)
        return true;
    return level > 1 ? ReadLevel(log, level - 1, covered, progress) : ReadBlocks(log, covered, count_ - covered, progress);
}

// Codes from..from+count of the stretch, a block at a time: the next block
// is read (and inflated) on a thread of its own while this one is taken in,
// and the progress is told only while no read is under way, as what it runs
// may touch the log.
bool LogEnvelope::ReadBlocks(LogSource& log, std::int64_t from, std::int64_t count, const Progress& progress)
{
    const int channels = log.Channels();
    const std::int64_t end = from + count;
    std::vector<std::int32_t> blocks[2];
    for (std::vector<std::int32_t>& block : blocks)
        block.resize(static_cast<std::size_t>(std::min(BlockSamples, count) * channels));
    const auto readBlock = [this, &log, end](std::int64_t at, std::int32_t* rows) {
        return log.ReadCodes(first_ + at, std::min(BlockSamples, end - at), rows);
    };
    if (progress && !progress(from, count_))
        return false;
    std::future<bool> next = std::async(std::launch::deferred, readBlock, from, blocks[0].data());
    for (std::int64_t done = from, k = 0; done < end; ++k) {
        const std::int64_t take = std::min(BlockSamples, end - done);
        if (!next.get()) {
            error_ = log.Error();
            return false;
        }
        if (done + take < end) {
            if (progress && !progress(done + take, count_))
                return false;
            next = std::async(std::launch::async, readBlock, done + take, blocks[(k + 1) % 2].data());
        }
        AddBlock(blocks[k % 2].data(), done, take, channels);
        done += take;
    }
    return true;
}

void LogEnvelope::AddBlock(const std::int32_t* rows, std::int64_t first, std::int64_t count, int channels)
{
    values_.assign(rows, rows + count * channels);
    for (int c = 0; c < channels; ++c) {
        columns_[static_cast<std::size_t>(c)].Add(values_.data() + c, first, count, channels);
        AddCodesToMeans(c, first, rows + c, count, channels);
        if (raw_) {
            std::vector<float>& codes = codes_[static_cast<std::size_t>(c)];
            for (std::int64_t i = 0; i < count; ++i)
                codes.push_back(values_[static_cast<std::size_t>(i * channels + c)]);
        }
    }
}

ColumnExtremes LogEnvelope::MicrovoltTrace(int channel, std::int32_t gainDivisor) const
{
    const ColumnExtremes& codes = Columns(channel);
    ColumnExtremes trace(count_, codes.Columns());
    for (int x = 0; x < codes.Columns(); ++x) {
        if (!codes.Filled(x))
            continue;
        const float extremes[] = {
            static_cast<float>(CodeScale::CodeToMicrovolts(static_cast<std::int32_t>(codes.Low(x)), gainDivisor)),
            static_cast<float>(CodeScale::CodeToMicrovolts(static_cast<std::int32_t>(codes.High(x)), gainDivisor))};
        // At the column's first sample, as ColumnExtremes shares them out.
        const std::int64_t first = x * count_ / codes.Columns();
        trace.Add(extremes, first, 1);
        trace.Add(extremes + 1, first, 1);
    }
    return trace;
}

// The column holding a sample, as ColumnExtremes shares them out.
void LogEnvelope::AddToMean(int channel, std::int64_t sample, double sum, std::int64_t count)
{
    std::vector<double>& sums = sums_[static_cast<std::size_t>(channel)];
    const auto columns = static_cast<std::int64_t>(sums.size());
    const auto column = static_cast<std::size_t>(std::min(((sample + 1) * columns - 1) / std::max(count_, std::int64_t{1}), columns - 1));
    sums[column] += sum;
    counts_[static_cast<std::size_t>(channel)][column] += count;
}

// Samples first.. of the stretch, column by column without a division a
// sample; a column's codes add up exactly in integers.
void LogEnvelope::AddCodesToMeans(int channel, std::int64_t first, const std::int32_t* codes, std::int64_t count, int stride)
{
    std::vector<double>& sums = sums_[static_cast<std::size_t>(channel)];
    std::vector<std::int64_t>& counts = counts_[static_cast<std::size_t>(channel)];
    const auto columns = static_cast<std::int64_t>(sums.size());
    const std::int64_t samples = std::max(count_, std::int64_t{1});
    std::int64_t column = std::min(((first + 1) * columns - 1) / samples, columns - 1);
    for (std::int64_t i = 0; i < count; ++column) {
        // This column's samples reach to the next column's first, as
        // ColumnExtremes shares them out; the last column takes the rest.
        const std::int64_t end = column + 1 < columns ? (column + 1) * samples / columns - first : count;
        const std::int64_t stop = std::clamp(end, i, count);
        std::int64_t sum = 0;
        for (std::int64_t j = i; j < stop; ++j)
            sum += codes[j * stride];
        sums[static_cast<std::size_t>(column)] += static_cast<double>(sum);
        counts[static_cast<std::size_t>(column)] += stop - i;
        i = stop;
    }
}

std::optional<double> LogEnvelope::Mean(int channel, int column) const
{
    const std::int64_t count = counts_[static_cast<std::size_t>(channel)][static_cast<std::size_t>(column)];
    if (count == 0)
        return std::nullopt;
    return sums_[static_cast<std::size_t>(channel)][static_cast<std::size_t>(column)] / static_cast<double>(count);
}

std::pair<float, float> LogEnvelope::Range() const
{
    float low = std::numeric_limits<float>::max();
    float high = std::numeric_limits<float>::lowest();
    for (const ColumnExtremes& columns : columns_) {
        for (int x = 0; x < columns.Columns(); ++x) {
            if (columns.Filled(x)) {
                low = std::min(low, columns.Low(x));
                high = std::max(high, columns.High(x));
            }
        }
    }
    return low <= high ? std::make_pair(low, high) : std::make_pair(0.0f, 1.0f);
}
