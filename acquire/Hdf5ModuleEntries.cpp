#include "Hdf5Handle.h"
#include "Hdf5LogIndexer.h"
#include "Hdf5LogOutput.h"
#include "Hdf5LogSource.h"
#include "Hdf5Module.h"
#include "ProgramModule.h"

// The module korvadex-hdf5: the HDF5 log's reader and writer, with HDF5.

namespace {

std::unique_ptr<LogSource> NewSource()
{
    return std::make_unique<Hdf5LogSource>();
}

std::unique_ptr<LogOutput> NewOutput()
{
    return std::make_unique<Hdf5LogOutput>();
}

bool IndexLog(const QString& path, bool rebuild, QString& error)
{
    Hdf5LogIndexer indexer;
    if (indexer.Index(path, rebuild))
        return true;
    error = indexer.Error();
    return false;
}

const Hdf5ModuleEntries entries{NewSource, NewOutput, IndexLog, Hdf5Handle::TeardownUnsafe};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
