#include "SummarizedLog.h"

#include "LogLayout.h"
#include "SummaryPyramid.h"

#include <algorithm>

namespace {

constexpr std::int64_t ReadSamples = 65536;

} // namespace

SummarizedLog::SummarizedLog(std::unique_ptr<LogSource> log)
    : log_(std::move(log))
{
}

std::unique_ptr<LogSource> SummarizedLog::Of(std::unique_ptr<LogSource> log, QString& error, const Progress& progress)
{
    const int channels = log->Channels();
    const std::int64_t samples = log->Samples();
    SummaryPyramid pyramid(channels);
    std::vector<std::int32_t> codes(static_cast<std::size_t>(ReadSamples * channels));
    for (std::int64_t done = 0; done < samples;) {
        if (progress && !progress(done, samples)) {
            error.clear();
            return nullptr;
        }
        const std::int64_t take = std::min(ReadSamples, samples - done);
        if (!log->ReadCodes(done, take, codes.data())) {
            error = log->Error();
            return nullptr;
        }
        pyramid.Add(codes.data(), take);
        done += take;
    }
    std::unique_ptr<SummarizedLog> summarized(new SummarizedLog(std::move(log)));
    // Every level, as the log writer keeps them (the highest may be empty).
    for (int level = 1; level <= LogLayout::SummaryLevels; ++level)
        summarized->levels_.push_back(pyramid.Made(level));
    return summarized;
}

bool SummarizedLog::ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out)
{
    return log_->ReadRuns(first, count, out);
}

bool SummarizedLog::ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out)
{
    return log_->ReadEvents(first, count, out);
}

bool SummarizedLog::ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out)
{
    return log_->ReadCodes(first, count, out);
}

std::int64_t SummarizedLog::SummaryRows(int level) const
{
    if (level < 1 || level > SummaryLevels())
        return 0;
    return static_cast<std::int64_t>(levels_[static_cast<std::size_t>(level - 1)].size()) / Channels();
}

bool SummarizedLog::ReadSummary(int level, std::int64_t first, std::int64_t count, std::vector<BlockSummary>& out)
{
    if (first < 0 || count < 0 || first + count > SummaryRows(level))
        return false;
    const std::vector<BlockSummary>& rows = levels_[static_cast<std::size_t>(level - 1)];
    const auto from = rows.begin() + static_cast<std::ptrdiff_t>(first * Channels());
    out.assign(from, from + static_cast<std::ptrdiff_t>(count * Channels()));
    return true;
}
