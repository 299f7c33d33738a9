#include "RunOptions.h"

#include "CommandLine.h"
#include "MeasureItems.h"

#include <vector>

const QString RunOptions::Rate = QStringLiteral("--rate");
const QString RunOptions::Count = QStringLiteral("--count");
const QString RunOptions::Channel = QStringLiteral("--channel");
const QString RunOptions::Filter = QStringLiteral("--filter");

QString RunOptions::SettingsFrom(const CommandLine& line, const QString& command, bool withCount,
                                 MeasureSettings& settings)
{
    const std::vector<QString> required =
        withCount ? std::vector<QString>{Rate, Count, Channel, Filter} : std::vector<QString>{Rate, Channel, Filter};
    for (const QString& option : required) {
        if (!line.Has(option))
            return QStringLiteral("%1 needs %2").arg(command, option);
    }
    const auto rate = MeasureItems::ParseRate(line.Value(Rate));
    const auto channel = MeasureItems::ParseChannel(line.Value(Channel));
    const auto filter = MeasureItems::ParseFilter(line.Value(Filter));
    if (!rate)
        return QStringLiteral("%1 %2 is not a rate of the list").arg(Rate, line.Value(Rate));
    if (withCount) {
        const auto count = MeasureItems::ParseCount(line.Value(Count));
        if (!count)
            return QStringLiteral("%1 %2 is not a count of the list").arg(Count, line.Value(Count));
        settings.DataCountSel = *count;
    }
    if (!channel)
        return QStringLiteral("%1 takes 0, 1 or 2").arg(Channel);
    if (!filter)
        return QStringLiteral("%1 takes sinc3 or sinc5").arg(Filter);
    settings.spsSel = *rate;
    settings.CHSel = *channel;
    settings.fSinc5 = *filter;
    return QString();
}
