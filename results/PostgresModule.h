#pragma once

#include <QString>

#include <memory>

class ResultsStore;

// What the module korvadex-postgres hands out: a store on a PostgreSQL
// server (PostgresStore). libpq and its TLS, Kerberos and LDAP libraries
// load with the module, for a command that reaches such a server only; the
// other commands start without them.
struct PostgresModuleEntries {
    std::unique_ptr<ResultsStore> (*Connect)(const QString& url, QString& error);
};

class PostgresModule {
public:
    // The module's entries, loaded on the first call; null with the reason
    // in `error` when the module cannot be loaded.
    static const PostgresModuleEntries* Load(QString& error);
};
