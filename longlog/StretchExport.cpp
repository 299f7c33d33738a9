#include "StretchExport.h"

#include "CodeScale.h"
#include "LogSource.h"
#include "MeasureItems.h"
#include "RunData.h"
#include "SampleTable.h"

namespace {

// One block's column of codes and their microvolts, as a channel's arrays.
struct BlockChannel {
    std::vector<std::int32_t> Codes;
    std::vector<float> Microvolts;

    ChannelData Fill(const std::int32_t* rows, std::int64_t count, std::int64_t stride, std::int32_t gainDivisor)
    {
        Codes.resize(static_cast<std::size_t>(count));
        Microvolts.resize(static_cast<std::size_t>(count));
        for (std::int64_t i = 0; i < count; ++i) {
            Codes[static_cast<std::size_t>(i)] = rows[i * stride];
            Microvolts[static_cast<std::size_t>(i)] =
                static_cast<float>(CodeScale::CodeToMicrovolts(rows[i * stride], gainDivisor));
        }
        return ChannelData{static_cast<std::int32_t>(count), Codes.data(), Microvolts.data()};
    }
};

// The smallest count item that holds `count` samples; nothing above the largest.
std::optional<int> CountItemFor(std::int64_t count)
{
    for (int item = 0; item < MeasureItems::CountCount; ++item) {
        if (MeasureItems::CountValue(item) >= count)
            return item;
    }
    return std::nullopt;
}

} // namespace

bool StretchExport::Table(LogSource& log, const std::vector<LogBlocks::Piece>& pieces, const SampleTable& table,
                          const std::function<bool(const std::string&)>& append, QString& error)
{
    const MeasureSettings& settings = log.Head().Settings;
    const double rate = MeasureItems::SampleRate(settings);
    const int columns = log.Channels();
    const bool ch0 = settings.CHSel != ModeCh1;
    BlockChannel first;
    BlockChannel second;
    // A channel holding no data has no column: an empty view, as a run's.
    const auto views = [&](const std::int32_t* rows, std::int64_t count) {
        const ChannelData one = first.Fill(rows, count, columns, settings.GainDivisor);
        const ChannelData two = columns == 2 ? second.Fill(rows + 1, count, columns, settings.GainDivisor) : ChannelData{};
        return ch0 ? std::make_pair(one, two) : std::make_pair(ChannelData{}, one);
    };
    std::string text;
    bool appended = true;
    LogBlocks blocks(log, pieces);
    const bool read = blocks.Walk(0, [&](const std::int32_t* rows, std::int64_t index, std::int64_t owned, std::int64_t) {
        if (!appended)
            return;
        const auto [a, b] = views(rows, owned);
        text.clear();
        if (index == 0)
            text = table.Header(a, b);
        table.AppendRows(text, a, b, index, rate);
        appended = append(text);
    });
    if (!read)
        error = log.Error();
    return read && appended;
}

bool StretchExport::Run(LogSource& log, std::int64_t first, std::int64_t count, RunData& run, QString& error)
{
    const std::optional<int> item = CountItemFor(count);
    if (!item || count > SampleCapacity) {
        error = QStringLiteral("%1 samples are more than a run of %2 holds").arg(count).arg(SampleCapacity);
        return false;
    }
    const int columns = log.Channels();
    std::vector<std::int32_t> rows(static_cast<std::size_t>(count * columns));
    if (!log.ReadCodes(first, count, rows.data())) {
        error = log.Error();
        return false;
    }
    run.Clear();
    run.Settings = log.Head().Settings;
    run.Settings.DataCountSel = *item;
    const bool ch0 = run.Settings.CHSel != ModeCh1;
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int32_t code = rows[static_cast<std::size_t>(i * columns)];
        (ch0 ? run.Ch0Codes : run.Ch1Codes)[i] = code;
        if (columns == 2)
            run.Ch1Codes[i] = rows[static_cast<std::size_t>(i * columns + 1)];
    }
    run.HoldSamples(static_cast<std::int32_t>(count));
    run.ConvertAll();
    return true;
}
