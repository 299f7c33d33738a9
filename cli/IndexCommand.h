#pragma once

#include <QStringList>

// korvadex-cli index [--force] LOG.h5...: adds block summaries (/summary)
// to HDF5 logs that have none, through the HDF5 module. A log marked open
// for writing, one that has them already (without --force), a text log or
// a failure is named on standard error and makes the exit code 2; the
// other logs are still indexed.
class IndexCommand {
public:
    static int Run(const QStringList& words);
};
