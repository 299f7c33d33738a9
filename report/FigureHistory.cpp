#include "FigureHistory.h"

#include <algorithm>
#include <numeric>

std::pair<double, double> FigureHistory::Span() const
{
    std::vector<double> ends(Values);
    for (const std::optional<double>& limit : {Low, High}) {
        if (limit)
            ends.push_back(*limit);
    }
    if (ends.empty())
        return {-1.0, 1.0};
    const auto [lowest, highest] = std::minmax_element(ends.begin(), ends.end());
    const double margin = *highest > *lowest ? (*highest - *lowest) / 20.0 : 1.0;
    return {*lowest - margin, *highest + margin};
}

double FigureHistory::Mean() const
{
    return Values.empty() ? 0.0 : std::accumulate(Values.begin(), Values.end(), 0.0) / static_cast<double>(Values.size());
}
