#pragma once

#include "ResultsStore.h"

struct sqlite3;

// The results in an SQLite file. Written ahead (WAL) and waiting up to
// BusyTimeoutMs for another writer, so that several programs (the test
// stations of a bench, a push) may write one file at once; each write takes
// the file's write lock from its start, so two never wait on each other.
class SqliteStore : public ResultsStore {
public:
    static constexpr int BusyTimeoutMs = 30000;

    static std::unique_ptr<SqliteStore> Open(const QString& path, QString& error);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    bool BeginWrite() override;
    bool BeginSchemaChange() override;
    QString IdColumnType() const override;

private:
    SqliteStore(sqlite3* db, const QString& path);
    bool Run(const QString& sql, const SqlRow& parameters, std::vector<SqlRow>* rows) override;
    bool Refused();

    sqlite3* db_;
    QString path_;
};
