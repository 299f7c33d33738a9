#pragma once

#include "SqlValue.h"
#include "TestRecord.h"

#include <QString>

#include <memory>
#include <vector>

// Where test records are kept: an SQLite file or a PostgreSQL database,
// named by a URL ("sqlite:PATH", "postgresql://user@host:port/dbname"), one
// schema in both (ResultsSchema), brought up to date when opened. A record
// is stored whole or not at all, once: storing a run id already there
// changes nothing and succeeds.
class ResultsStore {
public:
    static const QString DefaultUrl;

    // Whether the URL names a kind of database this program writes; why not
    // otherwise. Nothing is opened.
    static bool Knows(const QString& url, QString& error);
    // False for an SQLite file that is not there, so that a question asked
    // of a mistyped path is not answered by an empty database made for it.
    static bool Exists(const QString& url);
    // The store at the URL with its schema up to date, or nothing and why.
    static std::unique_ptr<ResultsStore> Open(const QString& url, QString& error);

    virtual ~ResultsStore() = default;

    bool Store(const BoardRecord& record);
    // Why the last call that failed failed.
    QString Error() const { return error_; }

    // The connection, for the schema and the queries: statements whose
    // values are parameters $1, $2, ... only.
    bool Execute(const QString& sql, const SqlRow& parameters = {});
    bool Select(const QString& sql, const SqlRow& parameters, std::vector<SqlRow>& rows);
    // A transaction that writes; the schema's is also the only one at a time
    // changing the schema.
    virtual bool BeginWrite() = 0;
    virtual bool BeginSchemaChange() = 0;
    bool Commit();
    void Rollback();
    // The column type of a table's own id, numbered by the database.
    virtual QString IdColumnType() const = 0;
    // Keeps the reason of a failure; false.
    bool Fail(const QString& error);

protected:
    // The statement run, its rows (if any) appended to `rows` unless null.
    virtual bool Run(const QString& sql, const SqlRow& parameters, std::vector<SqlRow>* rows) = 0;

private:
    QString error_;
};
