#include "SweepCommand.h"

#include "BoardChoice.h"
#include "BoardConnection.h"
#include "CommandLine.h"
#include "Console.h"
#include "ExitCode.h"
#include "MeasureItems.h"
#include "RunData.h"
#include "RunEvaluator.h"
#include "RunOptions.h"
#include "SweepPlan.h"
#include "SweepTable.h"
#include "Usage.h"

#include <memory>

namespace {

const QString& ChannelOption = RunOptions::Channel;
const QString& CountOption = RunOptions::Count;
const QString TimeCapOption = QStringLiteral("--time-cap");
const QString CsvOption = QStringLiteral("--csv");

const char* const DefaultCount = "1000";
constexpr double DefaultTimeCap = 20.0;

} // namespace

int SweepCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, {{ChannelOption, true}, {CountOption, true}, {TimeCapOption, true}, {CsvOption, false},
                            {BoardConnection::StallOption, true}, {BoardChoice::Option, true}}))
        return Usage::Fail(line.Error());
    if (!line.Positional().isEmpty())
        return Usage::Fail(QStringLiteral("sweep takes no file name"));
    if (!line.Has(ChannelOption))
        return Usage::Fail(QStringLiteral("sweep needs %1").arg(ChannelOption));
    const auto channel = MeasureItems::ParseChannel(line.Value(ChannelOption));
    if (!channel)
        return Usage::Fail(QStringLiteral("%1 takes 0, 1 or 2").arg(ChannelOption));
    const QString countText = line.Has(CountOption) ? line.Value(CountOption) : QString::fromLatin1(DefaultCount);
    const auto count = MeasureItems::ParseCount(countText);
    if (!count)
        return Usage::Fail(QStringLiteral("%1 %2 is not a count of the list").arg(CountOption, countText));
    const auto timeCap =
        line.Has(TimeCapOption) ? CommandLine::ParseSeconds(line.Value(TimeCapOption)) : DefaultTimeCap;
    if (!timeCap)
        return Usage::Fail(QStringLiteral("%1 takes a number of seconds").arg(TimeCapOption));
    const auto stallTimeout = BoardConnection::StallTimeout(line);
    if (!stallTimeout)
        return Usage::Fail(QStringLiteral("%1 takes a number of seconds").arg(BoardConnection::StallOption));

    BoardConnection board(*stallTimeout, BoardChoice::Serial(line));
    const ExitCode connected = board.Connect();
    if (connected != ExitDone)
        return connected;

    const SweepTable table(line.Has(CsvOption));
    if (!line.Has(CsvOption))
        Console::Out(board.Identity());
    Console::Out(table.Header());
    const auto run = std::make_unique<RunData>();
    for (const SweepPlan::Point& point : SweepPlan::Points(*channel, *count, *timeCap)) {
        run->Settings = MeasureSettings{};
        run->Settings.spsSel = point.spsSel;
        run->Settings.DataCountSel = point.DataCountSel;
        run->Settings.CHSel = *channel;
        run->Settings.fSinc5 = point.fSinc5;
        const QString label = MeasureItems::FilterItem(point.fSinc5) + QLatin1Char(' ')
                              + MeasureItems::RateItem(point.spsSel);
        const ExitCode measured = board.Measure(*run, label);
        if (measured != ExitDone)
            return measured;
        for (const ChannelReport& report : RunEvaluator::Evaluate(*run))
            Console::Out(table.Row(point, report));
    }
    return ExitDone;
}
