#include "LogAnalysis.h"

#include "ChannelStream.h"
#include "LogEnvelope.h"
#include "LogSource.h"
#include "MeasureItems.h"
#include "WelchDensity.h"

#include <optional>

namespace {

// The channel each column of the log's codes holds.
std::vector<int> ChannelNumbers(const LogSource& log)
{
    if (log.Channels() == 2)
        return {0, 1};
    return {log.Head().Settings.CHSel == ModeCh1 ? 1 : 0};
}

} // namespace

bool LogAnalysis::Of(const QString& name, LogSource& log, const std::vector<LogBlocks::Piece>& pieces, bool withTrace,
                     RunAnalysis& analysis, QString& error, const Progress& progress)
{
    const MeasureSettings& settings = log.Head().Settings;
    LogBlocks blocks(log, pieces);
    const std::int64_t total = blocks.Samples();
    const std::vector<int> numbers = ChannelNumbers(log);
    std::vector<ChannelStream> streams;
    std::vector<ColumnExtremes> traces;
    for (std::size_t c = 0; c < numbers.size(); ++c) {
        streams.emplace_back(total, settings.GainDivisor);
        if (withTrace)
            traces.emplace_back(total, TraceColumns);
    }
    // A log with summaries draws the trace of one stretch from them, not
    // from every sample.
    const bool traceFromSummaries = withTrace && log.SummaryLevels() > 0 && pieces.size() == 1;
    const bool traceSamples = withTrace && !traceFromSummaries;
    const std::int64_t stride = log.Channels();
    bool cancelled = false;
    const auto take = [&](const std::int32_t* rows, std::int64_t first, std::int64_t owned, std::int64_t available) {
        if (cancelled || (progress && !progress(first, total))) {
            cancelled = true;
            return;
        }
        for (std::size_t c = 0; c < streams.size(); ++c) {
            streams[c].Add(rows + c, first, owned, available, stride);
            if (traceSamples)
                traces[c].Add(streams[c].BlockMicrovolts().data(), first, owned);
        }
    };
    if (!blocks.Walk(WelchDensity::SegmentLength(total) / 2, take)) {
        error = log.Error();
        return false;
    }
    if (cancelled) {
        error.clear();
        return false;
    }
    LogEnvelope envelope;
    if (traceFromSummaries) {
        if (!envelope.Read(log, pieces[0].First, pieces[0].First + pieces[0].Count - 1, TraceColumns)) {
            error = envelope.Error();
            return false;
        }
        for (std::size_t c = 0; c < traces.size(); ++c)
            traces[c] = envelope.MicrovoltTrace(static_cast<int>(c), settings.GainDivisor);
    }
    analysis = RunAnalysis();
    analysis.Name = name;
    analysis.Settings = settings;
    analysis.SampleRate = MeasureItems::SampleRate(settings);
    for (std::size_t c = 0; c < streams.size(); ++c) {
        analysis.Channels.push_back(streams[c].Analysis(numbers[c], analysis.SampleRate));
        if (withTrace)
            analysis.Channels.back().Trace = std::move(traces[c]);
    }
    return true;
}
