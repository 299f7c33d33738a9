#include "TestRecordJson.h"

#include <QLocale>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdint>

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

// Reading: the first fault found, carried up to Read's one message.
struct RecordFault {
    QString What;
};

[[noreturn]] void Refuse(const QString& what)
{
    throw RecordFault{what};
}

QJsonValue Field(const QJsonObject& object, const char* key, const QString& where)
{
    const auto found = object.constFind(QLatin1String(key));
    if (found == object.constEnd())
        Refuse(QStringLiteral("%1 has no \"%2\"").arg(where, QLatin1String(key)));
    return *found;
}

QString TextField(const QJsonObject& object, const char* key, const QString& where)
{
    const QJsonValue value = Field(object, key, where);
    if (!value.isString())
        Refuse(QStringLiteral("\"%1\" of %2 is not a text").arg(QLatin1String(key), where));
    return value.toString();
}

QJsonObject ObjectField(const QJsonObject& object, const char* key, const QString& where)
{
    const QJsonValue value = Field(object, key, where);
    if (!value.isObject())
        Refuse(QStringLiteral("\"%1\" of %2 is not an object").arg(QLatin1String(key), where));
    return value.toObject();
}

double NumberValue(const QJsonValue& value, const QString& what)
{
    if (!value.isDouble())
        Refuse(QStringLiteral("%1 is not a number").arg(what));
    return value.toDouble();
}

// A whole number that a JSON double holds exactly.
std::int64_t WholeField(const QJsonObject& object, const char* key, const QString& where, double low)
{
    constexpr double Exact = 9007199254740992.0;  // 2^53
    const double value = NumberValue(Field(object, key, where), QStringLiteral("\"%1\" of %2").arg(QLatin1String(key), where));
    if (value != std::floor(value) || value < low || value > Exact)
        Refuse(QStringLiteral("\"%1\" of %2 is not a whole number from %3").arg(QLatin1String(key), where).arg(low));
    return static_cast<std::int64_t>(value);
}

int SmallWholeField(const QJsonObject& object, const char* key, const QString& where, int low)
{
    const std::int64_t value = WholeField(object, key, where, low);
    if (value > 1000000)
        Refuse(QStringLiteral("\"%1\" of %2 is out of range").arg(QLatin1String(key), where));
    return static_cast<int>(value);
}

Verdict VerdictField(const QJsonObject& object, const QString& where)
{
    const QString name = TextField(object, "outcome", where);
    const std::optional<Verdict> verdict = ParseVerdict(name);
    if (!verdict)
        Refuse(QStringLiteral("the outcome \"%1\" of %2 is not PASS, MARGINAL, FAIL or ERROR").arg(name, where));
    return *verdict;
}

QString OptionalText(const QJsonObject& object, const char* key, const QString& where)
{
    return object.contains(QLatin1String(key)) ? TextField(object, key, where) : QString();
}

double ReadValue(const QJsonObject& object, const QString& where)
{
    const QJsonValue value = Field(object, "measured_value", where);
    if (!value.isNull())
        return NumberValue(value, QStringLiteral("the value of %1").arg(where));
    const QString text = TextField(object, "measured_text", where);
    for (double special : {-INFINITY, INFINITY, NAN}) {
        if (text == ValueText(special))
            return special;
    }
    Refuse(QStringLiteral("the value \"%1\" of %2 is not inf, -inf or not worked out").arg(text, where));
}

FigureLimit ReadLimits(const QJsonObject& limits, PlanFigure figure, const QString& where)
{
    FigureLimit limit;
    limit.Figure = figure;
    const auto read = [&](const char* key, std::optional<double>& into) {
        if (limits.contains(QLatin1String(key)))
            into = NumberValue(limits.value(QLatin1String(key)), QStringLiteral("\"%1\" of %2").arg(QLatin1String(key), where));
    };
    read("low", limit.Low);
    read("high", limit.High);
    read("marginal_low", limit.MarginalLow);
    read("marginal_high", limit.MarginalHigh);
    if (limits.contains(QStringLiteral("band_hz"))) {
        const QJsonArray band = limits.value(QStringLiteral("band_hz")).toArray();
        if (band.size() != 2)
            Refuse(QStringLiteral("the band of %1 is not [LOW_HZ, HIGH_HZ]").arg(where));
        limit.Band = std::make_pair(NumberValue(band[0], where), NumberValue(band[1], where));
    }
    return limit;
}

Measurement ReadMeasurement(const QString& key, const QJsonValue& value, const QString& phase)
{
    const QString where = QStringLiteral("the measurement %1 of %2").arg(key, phase);
    if (!value.isObject())
        Refuse(QStringLiteral("%1 is not an object").arg(where));
    const QJsonObject object = value.toObject();
    Measurement m;
    const QString figure = TextField(object, "figure", where);
    const std::optional<PlanFigure> parsed = PlanFigures::Parse(figure);
    if (!parsed)
        Refuse(QStringLiteral("%1 names no figure known: %2").arg(where, figure));
    m.Figure = *parsed;
    m.Channel = SmallWholeField(object, "channel", where, 0);
    if (m.Name() != key)
        Refuse(QStringLiteral("%1 holds %2").arg(where, m.Name()));
    m.Value = ReadValue(object, where);
    m.Limit = ReadLimits(ObjectField(object, "limits", where), m.Figure, where);
    m.Outcome = VerdictField(object, where);
    return m;
}

StepResult ReadPhase(const QJsonValue& value, int index)
{
    const QString where = QStringLiteral("phase %1").arg(index + 1);
    if (!value.isObject())
        Refuse(QStringLiteral("%1 is not an object").arg(where));
    const QJsonObject phase = value.toObject();
    StepResult step;
    step.Step = TextField(phase, "name", where);
    step.Repeat = SmallWholeField(phase, "repeat", where, 1);
    step.Settings = TextField(phase, "settings", where);
    step.StartMs = WholeField(phase, "start_time_millis", where, 0);
    step.EndMs = WholeField(phase, "end_time_millis", where, 0);
    step.Outcome = VerdictField(phase, where);
    step.RawFile = TextField(phase, "raw_file", where);
    step.Error = OptionalText(phase, "error", where);
    const QJsonObject measurements = ObjectField(phase, "measurements", where);
    for (auto it = measurements.constBegin(); it != measurements.constEnd(); ++it)
        step.Measurements.push_back(ReadMeasurement(it.key(), it.value(), where));
    return step;
}

QString ReadError(const QJsonObject& json)
{
    if (!json.contains(QStringLiteral("outcome_details")))
        return QString();
    const QJsonArray details = json.value(QStringLiteral("outcome_details")).toArray();
    if (details.isEmpty() || !details.first().isObject())
        Refuse(QStringLiteral("outcome_details holds no description"));
    return TextField(details.first().toObject(), "description", QStringLiteral("outcome_details"));
}

BoardRecord ReadRecord(const QJsonObject& json)
{
    const QString where = QStringLiteral("the record");
    const QJsonObject metadata = ObjectField(json, "metadata", where);
    const QString about = QStringLiteral("its metadata");
    BoardRecord record;
    record.Serial = TextField(json, "dut_id", where);
    record.Station = TextField(json, "station_id", where);
    record.StartMs = WholeField(json, "start_time_millis", where, 0);
    record.EndMs = WholeField(json, "end_time_millis", where, 0);
    record.Outcome = VerdictField(json, where);
    record.PlanName = TextField(metadata, "test_name", about);
    record.PlanVersion = TextField(metadata, "plan_version", about);
    record.PlanHash = TextField(metadata, "plan_sha256", about).toLatin1();
    record.Operator = TextField(metadata, "operator", about);
    record.RunId = TextField(metadata, "run_id", about);
    record.RecheckOf = OptionalText(metadata, "recheck_of", about);
    record.Identity = TextField(metadata, "board", about);
    if (record.RunId.isEmpty())
        Refuse(QStringLiteral("the record has no run id"));
    const QJsonValue phases = Field(json, "phases", where);
    if (!phases.isArray())
        Refuse(QStringLiteral("\"phases\" of the record is not an array"));
    const QJsonArray steps = phases.toArray();
    for (int i = 0; i < steps.size(); ++i)
        record.Steps.push_back(ReadPhase(steps[i], i));
    record.Error = ReadError(json);
    return record;
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
    if (!record.RecheckOf.isEmpty())
        metadata.insert(QStringLiteral("recheck_of"), record.RecheckOf);
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

QByteArray TestRecordJson::Outcome(const BoardRecord& record)
{
    QJsonArray steps;
    QJsonArray notPassed;
    for (const StepResult& step : record.Steps) {
        QJsonObject run{{QStringLiteral("name"), step.Step},
                        {QStringLiteral("repeat"), step.Repeat},
                        {QStringLiteral("outcome"), VerdictName(step.Outcome)}};
        if (!step.Error.isEmpty())
            run.insert(QStringLiteral("error"), step.Error);
        steps.append(run);
        for (const Measurement& m : step.Measurements) {
            if (m.Outcome == Verdict::Pass)
                continue;
            notPassed.append(QJsonObject{{QStringLiteral("step"), step.Step},
                                         {QStringLiteral("repeat"), step.Repeat},
                                         {QStringLiteral("name"), m.Name()},
                                         {QStringLiteral("value"), Number(m.Value)},
                                         {QStringLiteral("unit"), PlanFigures::Unit(m.Figure)},
                                         {QStringLiteral("outcome"), VerdictName(m.Outcome)}});
        }
    }
    QJsonObject json{{QStringLiteral("time"), QDateTime::fromMSecsSinceEpoch(record.EndMs, Qt::UTC).toString(Qt::ISODateWithMs)},
                     {QStringLiteral("serial"), record.Serial},
                     {QStringLiteral("plan"), record.PlanName},
                     {QStringLiteral("plan_version"), record.PlanVersion},
                     {QStringLiteral("station"), record.Station},
                     {QStringLiteral("operator"), record.Operator},
                     {QStringLiteral("run_id"), record.RunId},
                     {QStringLiteral("outcome"), VerdictName(record.Outcome)},
                     {QStringLiteral("steps"), steps},
                     {QStringLiteral("not_passed"), notPassed}};
    if (!record.Error.isEmpty())
        json.insert(QStringLiteral("error"), record.Error);
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

std::optional<BoardRecord> TestRecordJson::Read(const QByteArray& json, QString& error)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (document.isNull()) {
        error = QStringLiteral("not JSON: %1 at byte %2").arg(parse.errorString()).arg(parse.offset);
        return std::nullopt;
    }
    if (!document.isObject()) {
        error = QStringLiteral("not a test record: no object");
        return std::nullopt;
    }
    try {
        return ReadRecord(document.object());
    } catch (const RecordFault& fault) {
        error = fault.What;
    }
    return std::nullopt;
}
