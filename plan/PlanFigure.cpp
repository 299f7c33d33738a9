#include "PlanFigure.h"

#include <QStringList>

namespace {

struct FigureName {
    PlanFigure Figure;
    const char* Name;
    const char* Unit;
};

constexpr FigureName Names[PlanFigures::Count] = {
    {PlanFigure::Rms, "rms_uV", "uV"},
    {PlanFigure::PeakToPeak, "pp_uV", "uV"},
    {PlanFigure::Mean, "mean_uV", "uV"},
    {PlanFigure::Max, "max_uV", "uV"},
    {PlanFigure::Min, "min_uV", "uV"},
    {PlanFigure::EffectiveBits, "effective_bits", "bits"},
    {PlanFigure::NoiseFreeBits, "noise_free_bits", "bits"},
    {PlanFigure::Density, "density_uV_rtHz", "uV/rtHz"},
    {PlanFigure::Spur, "spur_dBFS", "dBFS"},
    {PlanFigure::Hum, "hum_uV", "uV"},
};

const FigureName& Entry(PlanFigure figure)
{
    return Names[static_cast<int>(figure)];
}

} // namespace

QString PlanFigures::Name(PlanFigure figure)
{
    return QString::fromLatin1(Entry(figure).Name);
}

QString PlanFigures::Unit(PlanFigure figure)
{
    return QString::fromLatin1(Entry(figure).Unit);
}

std::optional<PlanFigure> PlanFigures::Parse(const QString& name)
{
    for (const FigureName& entry : Names) {
        if (name == QLatin1String(entry.Name))
            return entry.Figure;
    }
    return std::nullopt;
}

QString PlanFigures::Known()
{
    QStringList names;
    for (const FigureName& entry : Names)
        names << QString::fromLatin1(entry.Name);
    return names.join(QStringLiteral(", "));
}
