#include "PostgresModule.h"
#include "PostgresStore.h"
#include "ProgramModule.h"

// The module korvadex-postgres: the PostgreSQL store, with libpq.

namespace {

std::unique_ptr<ResultsStore> Connect(const QString& url, QString& error)
{
    return PostgresStore::Connect(url, error);
}

const PostgresModuleEntries entries{Connect};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
