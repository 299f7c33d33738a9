#pragma once

#include "ResultsStore.h"

struct pg_conn;

// The results in a PostgreSQL database, through libpq: every statement sent
// with its values as parameters (PQexecParams), in text form.
class PostgresStore : public ResultsStore {
public:
    // A server that does not answer within this is given up, unless the
    // URL's connect_timeout says otherwise.
    static constexpr int ConnectTimeoutSeconds = 10;

    static std::unique_ptr<PostgresStore> Connect(const QString& url, QString& error);
    ~PostgresStore() override;
    PostgresStore(const PostgresStore&) = delete;
    PostgresStore& operator=(const PostgresStore&) = delete;

    bool BeginWrite() override;
    bool BeginSchemaChange() override;
    QString IdColumnType() const override;

private:
    explicit PostgresStore(pg_conn* connection);
    bool Run(const QString& sql, const SqlRow& parameters, std::vector<SqlRow>* rows) override;

    pg_conn* connection_;
};
