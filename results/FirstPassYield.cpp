#include "FirstPassYield.h"

#include <QDateTime>

#include <map>
#include <set>
#include <tuple>
#include <utility>

std::vector<DayYield> FirstPassYield::Of(const std::vector<RunOutcome>& runs)
{
    std::map<std::pair<QString, QDate>, DayYield> days;
    std::set<std::tuple<QString, QDate, QString>> seen;
    for (const RunOutcome& run : runs) {
        const QDate day = QDateTime::fromMSecsSinceEpoch(run.StartMs, Qt::UTC).date();
        if (!seen.insert({run.Plan, day, run.Serial}).second)
            continue;
        DayYield& yield = days[{run.Plan, day}];
        yield.Plan = run.Plan;
        yield.Day = day;
        ++yield.Boards;
        yield.FirstPassed += Passes(run.Outcome) ? 1 : 0;
    }
    std::vector<DayYield> table;
    for (const auto& entry : days)
        table.push_back(entry.second);
    return table;
}
