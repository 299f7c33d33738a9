#include "ResultsSchema.h"

#include "ResultsStore.h"

#include <QStringList>

namespace {

// Migration N takes a database from version N - 1 to N. "ID" stands for
// the dialect's own id column type; types are those both databases know.
QStringList Migration(int version)
{
    switch (version) {
    case 1:
        return {
            QStringLiteral("CREATE TABLE stations (id ID, name TEXT NOT NULL UNIQUE)"),
            QStringLiteral("CREATE TABLE boards (id ID, serial TEXT NOT NULL UNIQUE, description TEXT NOT NULL,"
                           " first_seen_ms BIGINT NOT NULL)"),
            QStringLiteral("CREATE TABLE plans (id ID, name TEXT NOT NULL, version TEXT NOT NULL,"
                           " file_sha256 TEXT NOT NULL, UNIQUE (name, version, file_sha256))"),
            QStringLiteral("CREATE TABLE test_runs (id ID, run_id TEXT NOT NULL UNIQUE,"
                           " board_id BIGINT NOT NULL REFERENCES boards (id), plan_id BIGINT NOT NULL REFERENCES plans (id),"
                           " station_id BIGINT NOT NULL REFERENCES stations (id), operator TEXT NOT NULL,"
                           " start_ms BIGINT NOT NULL, end_ms BIGINT NOT NULL, verdict TEXT NOT NULL, error TEXT NOT NULL,"
                           " recheck_of BIGINT REFERENCES test_runs (id))"),
            QStringLiteral("CREATE TABLE steps (id ID, test_run_id BIGINT NOT NULL REFERENCES test_runs (id),"
                           " name TEXT NOT NULL, repeat INTEGER NOT NULL, settings TEXT NOT NULL, start_ms BIGINT NOT NULL,"
                           " end_ms BIGINT NOT NULL, verdict TEXT NOT NULL, error TEXT NOT NULL)"),
            QStringLiteral("CREATE TABLE measurements (id ID, step_id BIGINT NOT NULL REFERENCES steps (id),"
                           " figure TEXT NOT NULL, channel INTEGER NOT NULL, value DOUBLE PRECISION, value_text TEXT,"
                           " unit TEXT NOT NULL, low DOUBLE PRECISION, high DOUBLE PRECISION,"
                           " marginal_low DOUBLE PRECISION, marginal_high DOUBLE PRECISION,"
                           " band_low DOUBLE PRECISION, band_high DOUBLE PRECISION, verdict TEXT NOT NULL,"
                           " raw_file TEXT NOT NULL, run_number INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX test_runs_board ON test_runs (board_id)"),
            QStringLiteral("CREATE INDEX test_runs_start ON test_runs (start_ms)"),
            QStringLiteral("CREATE INDEX steps_test_run ON steps (test_run_id)"),
            QStringLiteral("CREATE INDEX measurements_step ON measurements (step_id)"),
        };
    default:
        break;
    }
    return {};
}

bool Apply(ResultsStore& store, int version)
{
    for (QString statement : Migration(version)) {
        statement.replace(QLatin1String(" ID,"), QStringLiteral(" %1,").arg(store.IdColumnType()));
        if (!store.Execute(statement))
            return false;
    }
    return true;
}

bool MigrateFrom(ResultsStore& store, int version, QString& error)
{
    if (version > ResultsSchema::Version) {
        error = QStringLiteral("the results database is at schema version %1, newer than this program's %2: it is left "
                               "as it is; use a newer korvadex-cli")
                    .arg(version)
                    .arg(ResultsSchema::Version);
        return false;
    }
    for (int next = version + 1; next <= ResultsSchema::Version; ++next) {
        if (!Apply(store, next))
            return false;
    }
    if (version == ResultsSchema::Version)
        return true;
    return store.Execute(QStringLiteral("DELETE FROM schema_version"))
           && store.Execute(QStringLiteral("INSERT INTO schema_version (version) VALUES ($1)"),
                            {static_cast<std::int64_t>(ResultsSchema::Version)});
}

} // namespace

bool ResultsSchema::Migrate(ResultsStore& store, QString& error)
{
    std::vector<SqlRow> rows;
    const bool read = store.BeginSchemaChange()
                      && store.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"))
                      && store.Select(QStringLiteral("SELECT MAX(version) FROM schema_version"), {}, rows);
    const int version = read && !rows.empty() ? static_cast<int>(Sql::Integer(rows.front().front())) : 0;
    if (read && MigrateFrom(store, version, error) && store.Commit())
        return true;
    if (error.isEmpty())
        error = store.Error();
    store.Rollback();
    return false;
}
