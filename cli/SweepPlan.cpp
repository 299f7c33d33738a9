#include "SweepPlan.h"

#include "MeasureItems.h"

std::vector<SweepPlan::Point> SweepPlan::Points(int chSel, int requestedCountSel, double capSeconds)
{
    std::vector<Point> points;
    for (std::uint8_t fSinc5 : {std::uint8_t{0}, std::uint8_t{1}}) {
        for (int spsSel = 0; spsSel < MeasureItems::RateCount; ++spsSel)
            points.push_back({fSinc5, spsSel, CountFor(chSel, requestedCountSel, spsSel, capSeconds)});
    }
    return points;
}

int SweepPlan::CountFor(int chSel, int requestedCountSel, int spsSel, double capSeconds)
{
    const double conversionsPerUnit = chSel == ModeDual ? 2.0 : 1.0;
    const double deliverable = MeasureItems::NominalRate(spsSel) * capSeconds / conversionsPerUnit;
    for (int countSel = requestedCountSel; countSel > 0; --countSel) {
        if (MeasureItems::CountValue(countSel) <= deliverable)
            return countSel;
    }
    return 0;
}
