#pragma once

#include "LogOutput.h"
#include "LogSource.h"

#include <QString>

#include <memory>

// What the module korvadex-hdf5 hands out: the HDF5 form of long-term logs.
// HDF5's library and its chain (some fifty libraries) load with the module,
// when a command first opens or writes an HDF5 log.
struct Hdf5ModuleEntries {
    std::unique_ptr<LogSource> (*NewSource)();
    std::unique_ptr<LogOutput> (*NewOutput)();
    // Adds block summaries to the HDF5 log at `path` (data's
    // Hdf5LogIndexer); false with the reason in `error`.
    bool (*IndexLog)(const QString& path, bool rebuild, QString& error);
    // Whether HDF5's own teardown at exit may wait for ever (a writer
    // left a file it could not close), so that the process must end
    // without it.
    bool (*TeardownUnsafe)();
};

class Hdf5Module {
public:
    // The module's entries, loaded on the first call; null with the reason
    // in `error` when the module cannot be loaded.
    static const Hdf5ModuleEntries* Load(QString& error);
    // The module's TeardownUnsafe; false when it was never loaded.
    static bool TeardownUnsafe();
};
