#pragma once

#include <QString>

#include <memory>

class ResultsStore;

// What a results store's module hands out: korvadex-sqlite (SqliteStore,
// the default store) and korvadex-postgres (PostgresStore). Each database
// library loads with its module, for a command that opens such a store
// only: libpq brings TLS, Kerberos and LDAP libraries, and every other
// command starts without either.
struct StoreModuleEntries {
    // `where` is what follows the URL's scheme for SQLite (a path), the
    // whole URL for PostgreSQL.
    std::unique_ptr<ResultsStore> (*Open)(const QString& where, QString& error);
};

class StoreModule {
public:
    // Module `name`'s entries, loaded on the first call; null with the
    // reason in `error` when the module cannot be loaded (`kind` names the
    // database that needs it).
    static const StoreModuleEntries* Load(const char* name, const QString& kind, QString& error);
};
