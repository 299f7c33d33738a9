#include "Hdf5Handle.h"
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

const Hdf5ModuleEntries entries{NewSource, NewOutput, Hdf5Handle::TeardownUnsafe};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
