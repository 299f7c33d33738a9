#include "LogEnvelope.h"

#include "LogSource.h"

#include <algorithm>
#include <limits>

bool LogEnvelope::Read(LogSource& log, std::int64_t first, std::int64_t last, int columns, const Progress& progress)
{
    first_ = std::clamp<std::int64_t>(first, 0, std::max<std::int64_t>(log.Samples() - 1, 0));
    count_ = std::clamp<std::int64_t>(last - first_ + 1, 0, log.Samples() - first_);
    raw_ = count_ <= 2 * static_cast<std::int64_t>(columns);
    columns_.assign(static_cast<std::size_t>(log.Channels()), ColumnExtremes(count_, std::max(columns, 1)));
    codes_.assign(static_cast<std::size_t>(log.Channels()), {});
    error_.clear();
    return ReadBlocks(log, progress);
}

bool LogEnvelope::ReadBlocks(LogSource& log, const Progress& progress)
{
    const int channels = log.Channels();
    std::vector<std::int32_t> rows(static_cast<std::size_t>(BlockSamples * channels));
    std::vector<float> values(rows.size());
    for (std::int64_t done = 0; done < count_;) {
        if (progress && !progress(done, count_))
            return false;
        const std::int64_t take = std::min(BlockSamples, count_ - done);
        if (!log.ReadCodes(first_ + done, take, rows.data())) {
            error_ = log.Error();
            return false;
        }
        const std::size_t n = static_cast<std::size_t>(take * channels);
        std::copy(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n), values.begin());
        for (int c = 0; c < channels; ++c) {
            columns_[static_cast<std::size_t>(c)].Add(values.data() + c, done, take, channels);
            if (raw_) {
                std::vector<float>& codes = codes_[static_cast<std::size_t>(c)];
                for (std::int64_t i = 0; i < take; ++i)
                    codes.push_back(values[static_cast<std::size_t>(i * channels + c)]);
            }
        }
        done += take;
    }
    return true;
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
