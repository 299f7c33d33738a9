#include "ResultsStore.h"

#include "RecordWriter.h"
#include "ResultsSchema.h"
#include "StoreModule.h"

#include <QFile>

namespace {

const QString SqlitePrefix = QStringLiteral("sqlite:");

bool IsPostgres(const QString& url)
{
    return url.startsWith(QLatin1String("postgresql://")) || url.startsWith(QLatin1String("postgres://"));
}

} // namespace

const QString ResultsStore::DefaultUrl = QStringLiteral("sqlite:results.sqlite");

bool ResultsStore::Knows(const QString& url, QString& error)
{
    if (IsPostgres(url) || (url.startsWith(SqlitePrefix) && url.size() > SqlitePrefix.size()))
        return true;
    error = QStringLiteral("the results database \"%1\" is neither sqlite:PATH nor postgresql://USER@HOST:PORT/DBNAME").arg(url);
    return false;
}

bool ResultsStore::Exists(const QString& url)
{
    return !url.startsWith(SqlitePrefix) || QFile::exists(url.mid(SqlitePrefix.size()));
}

std::unique_ptr<ResultsStore> ResultsStore::Open(const QString& url, QString& error)
{
    if (!Knows(url, error))
        return nullptr;
    const bool postgres = IsPostgres(url);
    const StoreModuleEntries* module = postgres
        ? StoreModule::Load("postgres", QStringLiteral("a PostgreSQL"), error)
        : StoreModule::Load("sqlite", QStringLiteral("an SQLite"), error);
    std::unique_ptr<ResultsStore> store;
    if (module != nullptr)
        store = module->Open(postgres ? url : url.mid(SqlitePrefix.size()), error);
    if (store && !ResultsSchema::Migrate(*store, error))
        store.reset();
    return store;
}

bool ResultsStore::Store(const BoardRecord& record)
{
    if (!BeginWrite())
        return false;
    RecordWriter writer(*this);
    if (writer.Write(record) && Commit())
        return true;
    const QString why = error_;
    Rollback();
    error_ = why;
    return false;
}

bool ResultsStore::Execute(const QString& sql, const SqlRow& parameters)
{
    return Run(sql, parameters, nullptr);
}

bool ResultsStore::Select(const QString& sql, const SqlRow& parameters, std::vector<SqlRow>& rows)
{
    rows.clear();
    return Run(sql, parameters, &rows);
}

bool ResultsStore::Commit()
{
    return Execute(QStringLiteral("COMMIT"));
}

void ResultsStore::Rollback()
{
    Execute(QStringLiteral("ROLLBACK"));
}

bool ResultsStore::Fail(const QString& error)
{
    error_ = error;
    return false;
}
