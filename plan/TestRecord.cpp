#include "TestRecord.h"

QString Measurement::Name() const
{
    return QStringLiteral("ch%1.%2").arg(Channel).arg(PlanFigures::Name(Figure));
}

void BoardRecord::Conclude()
{
    Outcome = Error.isEmpty() ? Verdict::Pass : Verdict::Error;
    for (const StepResult& step : Steps)
        Outcome = Worst(Outcome, step.Outcome);
}
