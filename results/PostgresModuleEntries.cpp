#include "PostgresStore.h"
#include "ProgramModule.h"
#include "StoreModule.h"

// The module korvadex-postgres: the PostgreSQL store, with libpq.

namespace {

std::unique_ptr<ResultsStore> Connect(const QString& url, QString& error)
{
    return PostgresStore::Connect(url, error);
}

const StoreModuleEntries entries{Connect};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
