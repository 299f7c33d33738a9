#include "FigureLimit.h"

#include <cmath>

Verdict FigureLimit::Judge(double value) const
{
    if (std::isnan(value) || (Low && value < *Low) || (High && value > *High))
        return Verdict::Fail;
    if ((MarginalLow && value < *MarginalLow) || (MarginalHigh && value > *MarginalHigh))
        return Verdict::Marginal;
    return Verdict::Pass;
}

QString FigureLimit::Fault() const
{
    if (!Low && !High)
        return QStringLiteral("a limit needs low or high");
    if (Low && High && *Low > *High)
        return QStringLiteral("low %1 is above high %2").arg(*Low).arg(*High);
    if (MarginalLow && ((Low && *MarginalLow < *Low) || (High && *MarginalLow > *High)))
        return QStringLiteral("marginal_low %1 lies outside low..high").arg(*MarginalLow);
    if (MarginalHigh && ((Low && *MarginalHigh < *Low) || (High && *MarginalHigh > *High)))
        return QStringLiteral("marginal_high %1 lies outside low..high").arg(*MarginalHigh);
    if (MarginalLow && MarginalHigh && *MarginalLow > *MarginalHigh)
        return QStringLiteral("marginal_low %1 is above marginal_high %2").arg(*MarginalLow).arg(*MarginalHigh);
    const bool density = Figure == PlanFigure::Density;
    if (density && !Band)
        return QStringLiteral("density_uV_rtHz needs band = [LOW_HZ, HIGH_HZ]");
    if (!density && Band)
        return QStringLiteral("only density_uV_rtHz takes a band");
    if (Band && !(Band->first >= 0.0 && Band->first < Band->second))
        return QStringLiteral("the band must run from 0 Hz or more up to a higher frequency");
    return {};
}
