#include "ProcessCapability.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// Running sums after Welford, steady for values far from zero.
struct Moments {
    int Count = 0;
    double Mean = 0.0;
    double SquaredDeviations = 0.0;
    std::optional<double> Low;
    std::optional<double> High;

    void Add(const FigureSample& sample)
    {
        ++Count;
        const double delta = sample.Value - Mean;
        Mean += delta / Count;
        SquaredDeviations += delta * (sample.Value - Mean);
        Low = sample.Low;
        High = sample.High;
    }
};

std::optional<double> Cpk(const Capability& c)
{
    if (!c.Sigma || *c.Sigma <= 0.0 || (!c.Low && !c.High))
        return std::nullopt;
    double margin = INFINITY;
    if (c.High)
        margin = std::min(margin, *c.High - c.Mean);
    if (c.Low)
        margin = std::min(margin, c.Mean - *c.Low);
    return margin / (3.0 * *c.Sigma);
}

} // namespace

std::vector<Capability> ProcessCapability::Of(const std::vector<FigureSample>& samples)
{
    std::map<std::tuple<QString, QString, QString, int>, Moments> groups;
    for (const FigureSample& sample : samples)
        groups[{sample.Plan, sample.Step, sample.Figure, sample.Channel}].Add(sample);
    std::vector<Capability> table;
    table.reserve(groups.size());
    for (const auto& [key, moments] : groups) {
        Capability c{std::get<0>(key), std::get<1>(key), std::get<2>(key), moments.Count, moments.Mean, std::nullopt,
                     moments.Low, moments.High, std::nullopt, std::get<3>(key)};
        if (moments.Count > 1)
            c.Sigma = std::sqrt(moments.SquaredDeviations / (moments.Count - 1));
        c.Cpk = Cpk(c);
        table.push_back(c);
    }
    return table;
}
