#include "ProgramModule.h"
#include "SqliteStore.h"
#include "StoreModule.h"

// The module korvadex-sqlite: the SQLite store, with libsqlite3.

namespace {

std::unique_ptr<ResultsStore> Open(const QString& path, QString& error)
{
    return SqliteStore::Open(path, error);
}

const StoreModuleEntries entries{Open};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
