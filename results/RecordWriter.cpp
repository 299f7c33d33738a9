#include "RecordWriter.h"

#include "ResultsStore.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

// Well below both databases' limits on parameters of a statement.
constexpr std::size_t RowsAStatement = 500;

// The columns a measurement's row is given (all but its id).
constexpr int MeasurementColumns = 15;

// The value, NULL when it is no finite number, and the text that says which.
SqlValue Value(double value)
{
    return std::isfinite(value) ? SqlValue(value) : SqlValue();
}

SqlValue ValueText(double value)
{
    if (std::isfinite(value))
        return SqlValue();
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
}

void AppendMeasurement(SqlRow& parameters, std::int64_t stepId, const StepResult& step, const Measurement& m)
{
    const FigureLimit& limit = m.Limit;
    const auto band = [&](bool high) -> SqlValue {
        return limit.Band ? SqlValue(high ? limit.Band->second : limit.Band->first) : SqlValue();
    };
    parameters.insert(parameters.end(),
                      {stepId, PlanFigures::Name(m.Figure), static_cast<std::int64_t>(m.Channel), Value(m.Value),
                       ValueText(m.Value), PlanFigures::Unit(m.Figure), Sql::Optional(limit.Low), Sql::Optional(limit.High),
                       Sql::Optional(limit.MarginalLow), Sql::Optional(limit.MarginalHigh), band(false), band(true),
                       VerdictName(m.Outcome), step.RawFile, static_cast<std::int64_t>(step.Repeat)});
}

// "($1, $2, ...), ($17, ...)": the placeholders of `rows` rows.
QString Placeholders(std::size_t rows, int columns)
{
    QStringList tuples;
    int next = 1;
    for (std::size_t row = 0; row < rows; ++row) {
        QStringList tuple;
        for (int column = 0; column < columns; ++column)
            tuple << QStringLiteral("$%1").arg(next++);
        tuples << QLatin1Char('(') + tuple.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return tuples.join(QStringLiteral(", "));
}

} // namespace

RecordWriter::RecordWriter(ResultsStore& store)
    : store_(store)
{
}

bool RecordWriter::Write(const BoardRecord& record)
{
    bool stored = false;
    if (!Stored(record.RunId, stored))
        return false;
    if (stored)
        return true;
    // The no-op update makes RETURNING give the id of a row already there.
    const auto station = Id(QStringLiteral("INSERT INTO stations (name) VALUES ($1)"
                                           " ON CONFLICT (name) DO UPDATE SET name = excluded.name RETURNING id"),
                            {record.Station});
    const auto board = Id(QStringLiteral("INSERT INTO boards (serial, description, first_seen_ms) VALUES ($1, $2, $3)"
                                         " ON CONFLICT (serial) DO UPDATE SET first_seen_ms = CASE WHEN excluded.first_seen_ms"
                                         " < boards.first_seen_ms THEN excluded.first_seen_ms ELSE boards.first_seen_ms END"
                                         " RETURNING id"),
                          {record.Serial, record.Identity, record.StartMs});
    const auto plan = Id(QStringLiteral("INSERT INTO plans (name, version, file_sha256) VALUES ($1, $2, $3)"
                                        " ON CONFLICT (name, version, file_sha256) DO UPDATE SET name = excluded.name"
                                        " RETURNING id"),
                         {record.PlanName, record.PlanVersion, QString::fromLatin1(record.PlanHash)});
    if (!station || !board || !plan)
        return false;
    // A re-check links to its original when that is stored here too.
    const auto run = Id(QStringLiteral("INSERT INTO test_runs (run_id, board_id, plan_id, station_id, operator, start_ms,"
                                       " end_ms, verdict, error, recheck_of) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9,"
                                       " (SELECT id FROM test_runs WHERE run_id = $10)) RETURNING id"),
                        {record.RunId, *board, *plan, *station, record.Operator, record.StartMs, record.EndMs,
                         VerdictName(record.Outcome), record.Error,
                         record.RecheckOf.isEmpty() ? SqlValue() : SqlValue(record.RecheckOf)});
    if (!run)
        return false;
    return std::all_of(record.Steps.begin(), record.Steps.end(), [&](const StepResult& step) { return WriteStep(*run, step); });
}

std::optional<std::int64_t> RecordWriter::Id(const QString& sql, const SqlRow& parameters)
{
    std::vector<SqlRow> rows;
    if (!store_.Select(sql, parameters, rows))
        return std::nullopt;
    if (rows.empty() || rows.front().empty()) {
        store_.Fail(QStringLiteral("the database gave no id back"));
        return std::nullopt;
    }
    return Sql::Integer(rows.front().front());
}

bool RecordWriter::Stored(const QString& runId, bool& stored)
{
    std::vector<SqlRow> rows;
    if (!store_.Select(QStringLiteral("SELECT id FROM test_runs WHERE run_id = $1"), {runId}, rows))
        return false;
    stored = !rows.empty();
    return true;
}

bool RecordWriter::WriteStep(std::int64_t runId, const StepResult& step)
{
    const auto stepId = Id(QStringLiteral("INSERT INTO steps (test_run_id, name, repeat, settings, start_ms, end_ms, verdict,"
                                          " error) VALUES ($1, $2, $3, $4, $5, $6, $7, $8) RETURNING id"),
                           {runId, step.Step, static_cast<std::int64_t>(step.Repeat), step.Settings, step.StartMs,
                            step.EndMs, VerdictName(step.Outcome), step.Error});
    if (!stepId)
        return false;
    for (std::size_t first = 0; first < step.Measurements.size(); first += RowsAStatement) {
        if (!WriteMeasurements(*stepId, step, first, std::min(RowsAStatement, step.Measurements.size() - first)))
            return false;
    }
    return true;
}

bool RecordWriter::WriteMeasurements(std::int64_t stepId, const StepResult& step, std::size_t first, std::size_t count)
{
    SqlRow parameters;
    parameters.reserve(count * (MeasurementColumns));
    for (std::size_t i = first; i < first + count; ++i)
        AppendMeasurement(parameters, stepId, step, step.Measurements[i]);
    return store_.Execute(QStringLiteral("INSERT INTO measurements (step_id, figure, channel, value, value_text, unit, low,"
                                         " high, marginal_low, marginal_high, band_low, band_high, verdict, raw_file,"
                                         " run_number) VALUES ")
                              + Placeholders(count, MeasurementColumns),
                          parameters);
}
