#include "ResultsQuery.h"

#include "ResultsStore.h"

#include <QDateTime>

namespace {

const QString RunsJoined =
    QStringLiteral(" FROM test_runs r JOIN boards b ON b.id = r.board_id JOIN plans p ON p.id = r.plan_id");
const QString MeasurementsJoined = QStringLiteral(" FROM measurements m JOIN steps st ON st.id = m.step_id"
                                                  " JOIN test_runs r ON r.id = st.test_run_id"
                                                  " JOIN boards b ON b.id = r.board_id JOIN plans p ON p.id = r.plan_id"
                                                  " JOIN stations s ON s.id = r.station_id"
                                                  " LEFT JOIN test_runs o ON o.id = r.recheck_of");
const QString TestsOfBoards = QStringLiteral("r.recheck_of IS NULL");

QString UtcText(std::int64_t ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(Qt::ISODateWithMs);
}

// The row as selected: value and value_text (10, 11) become one value, the
// start (5) its time.
SqlRow Listed(SqlRow row)
{
    row[5] = UtcText(Sql::Integer(row[5]));
    if (Sql::IsNull(row[10]))
        row[10] = row[11];
    row.erase(row.begin() + 11);
    return row;
}

// Each row of a select made into a T, or nothing when the select failed.
template <typename T, typename Convert>
std::optional<std::vector<T>> Converted(const std::optional<std::vector<SqlRow>>& rows, Convert convert)
{
    if (!rows)
        return std::nullopt;
    std::vector<T> converted;
    converted.reserve(rows->size());
    for (const SqlRow& row : *rows)
        converted.push_back(convert(row));
    return converted;
}

} // namespace

ResultsQuery::ResultsQuery(ResultsStore& store, ResultsFilter filter)
    : store_(store)
    , filter_(std::move(filter))
{
}

std::optional<ResultTable> ResultsQuery::Measurements()
{
    SqlRow parameters;
    const auto rows = Select(QStringLiteral("SELECT b.serial, p.name, s.name, r.operator, r.run_id, r.start_ms, st.name,"
                                            " st.repeat, m.figure, m.channel, m.value, m.value_text, m.unit, m.low, m.high,"
                                            " m.marginal_low, m.marginal_high, m.band_low, m.band_high, m.verdict, m.raw_file, o.run_id")
                                 + MeasurementsJoined + Where(parameters)
                                 + QStringLiteral(" ORDER BY r.start_ms, r.id, st.id, m.id"),
                             parameters);
    const auto listed = Converted<SqlRow>(rows, Listed);
    if (!listed)
        return std::nullopt;
    return ResultTable{{QStringLiteral("serial"), QStringLiteral("plan"), QStringLiteral("station"), QStringLiteral("operator"),
                       QStringLiteral("run_id"), QStringLiteral("start_utc"), QStringLiteral("step"), QStringLiteral("repeat"),
                       QStringLiteral("figure"), QStringLiteral("channel"), QStringLiteral("value"), QStringLiteral("unit"),
                       QStringLiteral("low"), QStringLiteral("high"), QStringLiteral("marginal_low"),
                       QStringLiteral("marginal_high"), QStringLiteral("band_low_hz"), QStringLiteral("band_high_hz"),
                       QStringLiteral("verdict"), QStringLiteral("raw_file"), QStringLiteral("recheck_of")},
                       *listed};
}

std::optional<std::vector<RunOutcome>> ResultsQuery::Runs()
{
    SqlRow parameters;
    const auto rows = Select(QStringLiteral("SELECT b.serial, p.name, r.start_ms, r.verdict") + RunsJoined
                                 + Where(parameters, TestsOfBoards)
                                 + QStringLiteral(" ORDER BY r.start_ms, r.id"),
                             parameters);
    return Converted<RunOutcome>(rows, [](const SqlRow& row) {
        return RunOutcome{Sql::Text(row[0]), Sql::Text(row[1]), Sql::Integer(row[2]),
                          ParseVerdict(Sql::Text(row[3])).value_or(Verdict::Error)};
    });
}

std::optional<std::vector<FigureSample>> ResultsQuery::Samples()
{
    SqlRow parameters;
    const auto rows = Select(QStringLiteral("SELECT p.name, st.name, m.figure, m.value, m.low, m.high, r.start_ms, m.channel")
                                 + MeasurementsJoined
                                 + Where(parameters, QStringLiteral("m.value IS NOT NULL AND ") + TestsOfBoards)
                                 + QStringLiteral(" ORDER BY r.start_ms, r.id"),
                             parameters);
    return Converted<FigureSample>(rows, [](const SqlRow& row) {
        return FigureSample{Sql::Text(row[0]), Sql::Text(row[1]), Sql::Text(row[2]), Sql::Number(row[3]).value_or(0.0),
                            Sql::Number(row[4]), Sql::Number(row[5]), Sql::Integer(row[6]),
                            static_cast<int>(Sql::Integer(row[7]))};
    });
}

std::optional<std::vector<KeptTest>> ResultsQuery::KeptTests()
{
    SqlRow parameters;
    const auto rows = Select(QStringLiteral("SELECT r.run_id, b.serial, b.description, st.name, st.repeat,"
                                            " (SELECT MIN(m.raw_file) FROM measurements m WHERE m.step_id = st.id)")
                                 + RunsJoined + QStringLiteral(" JOIN steps st ON st.test_run_id = r.id")
                                 + Where(parameters, TestsOfBoards) + QStringLiteral(" ORDER BY r.start_ms, r.id, st.id"),
                             parameters);
    if (!rows)
        return std::nullopt;
    std::vector<KeptTest> tests;
    for (const SqlRow& row : *rows) {
        if (tests.empty() || tests.back().RunId != Sql::Text(row[0]))
            tests.push_back(KeptTest{Sql::Text(row[0]), Sql::Text(row[1]), Sql::Text(row[2]), {}});
        tests.back().Steps.push_back(KeptStep{Sql::Text(row[3]), static_cast<int>(Sql::Integer(row[4])), Sql::Text(row[5])});
    }
    return tests;
}

QString ResultsQuery::Where(SqlRow& parameters, const QString& also) const
{
    QStringList conditions;
    if (!also.isEmpty())
        conditions << also;
    const auto condition = [&](const char* test, SqlValue value) {
        parameters.push_back(std::move(value));
        conditions << QStringLiteral("%1 $%2").arg(QLatin1String(test)).arg(parameters.size());
    };
    if (!filter_.Serial.isEmpty())
        condition("b.serial =", filter_.Serial);
    if (!filter_.Plan.isEmpty())
        condition("p.name =", filter_.Plan);
    if (filter_.SinceMs)
        condition("r.start_ms >=", *filter_.SinceMs);
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

std::optional<std::vector<SqlRow>> ResultsQuery::Select(const QString& sql, const SqlRow& parameters)
{
    std::vector<SqlRow> rows;
    if (!store_.Select(sql, parameters, rows))
        return std::nullopt;
    return rows;
}
