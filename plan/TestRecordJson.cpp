#include "TestRecordJson.h"

#include <QLocale>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace {

QJsonValue Number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QString ValueText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("not worked out");
    return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
}

QString Shortest(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// "1 <= x <= 2", as OpenHTF's in_range validator reads.
QString Validator(const FigureLimit& limit)
{
    QString text = QStringLiteral("x");
    if (limit.Low)
        text.prepend(QStringLiteral("%1 <= ").arg(Shortest(*limit.Low)));
    if (limit.High)
        text.append(QStringLiteral(" <= %1").arg(Shortest(*limit.High)));
    return text;
}

QJsonObject Limits(const FigureLimit& limit)
{
    QJsonObject limits;
    const auto put = [&](const char* key, const std::optional<double>& value) {
        if (value)
            limits.insert(QLatin1String(key), *value);
    };
    put("low", limit.Low);
    put("high", limit.High);
    put("marginal_low", limit.MarginalLow);
    put("marginal_high", limit.MarginalHigh);
    if (limit.Band)
        limits.insert(QStringLiteral("band_hz"), QJsonArray{limit.Band->first, limit.Band->second});
    return limits;
}

QJsonObject MeasurementObject(const Measurement& m)
{
    QJsonObject object{{QStringLiteral("name"), m.Name()},
                       {QStringLiteral("channel"), m.Channel},
                       {QStringLiteral("figure"), PlanFigures::Name(m.Figure)},
                       {QStringLiteral("measured_value"), Number(m.Value)},
                       {QStringLiteral("units"), QJsonObject{{QStringLiteral("suffix"), PlanFigures::Unit(m.Figure)}}},
                       {QStringLiteral("validators"), QJsonArray{Validator(m.Limit)}},
                       {QStringLiteral("limits"), Limits(m.Limit)},
                       {QStringLiteral("outcome"), VerdictName(m.Outcome)}};
    if (!std::isfinite(m.Value))
        object.insert(QStringLiteral("measured_text"), ValueText(m.Value));
    return object;
}

QJsonObject Phase(const StepResult& step)
{
    QJsonObject measurements;
    for (const Measurement& m : step.Measurements)
        measurements.insert(m.Name(), MeasurementObject(m));
    QJsonObject phase{{QStringLiteral("name"), step.Step},
                      {QStringLiteral("repeat"), step.Repeat},
                      {QStringLiteral("settings"), step.Settings},
                      {QStringLiteral("start_time_millis"), static_cast<double>(step.StartMs)},
                      {QStringLiteral("end_time_millis"), static_cast<double>(step.EndMs)},
                      {QStringLiteral("outcome"), VerdictName(step.Outcome)},
                      {QStringLiteral("raw_file"), step.RawFile},
                      {QStringLiteral("measurements"), measurements}};
    if (!step.Error.isEmpty())
        phase.insert(QStringLiteral("error"), step.Error);
    return phase;
}

} // namespace

QByteArray TestRecordJson::Write(const BoardRecord& record)
{
    QJsonArray phases;
    for (const StepResult& step : record.Steps)
        phases.append(Phase(step));
    QJsonObject metadata{{QStringLiteral("test_name"), record.PlanName},
                         {QStringLiteral("plan_version"), record.PlanVersion},
                         {QStringLiteral("plan_sha256"), QString::fromLatin1(record.PlanHash)},
                         {QStringLiteral("operator"), record.Operator},
                         {QStringLiteral("run_id"), record.RunId},
                         {QStringLiteral("board"), record.Identity}};
    QJsonObject json{{QStringLiteral("dut_id"), record.Serial},
                     {QStringLiteral("station_id"), record.Station},
                     {QStringLiteral("start_time_millis"), static_cast<double>(record.StartMs)},
                     {QStringLiteral("end_time_millis"), static_cast<double>(record.EndMs)},
                     {QStringLiteral("outcome"), VerdictName(record.Outcome)},
                     {QStringLiteral("metadata"), metadata},
                     {QStringLiteral("phases"), phases}};
    if (!record.Error.isEmpty())
        json.insert(QStringLiteral("outcome_details"), QJsonArray{QJsonObject{{QStringLiteral("description"), record.Error}}});
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}
