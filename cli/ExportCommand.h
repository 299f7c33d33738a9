#pragma once

#include <QStringList>

// korvadex-cli export FILE.DTA... [--csv|--tsv] [-o OUT]: each file's
// samples as a table (SampleTable), comma-separated unless --tsv. One file
// goes to standard output or to OUT; several go into the folder OUT, each
// named after its file with ".csv" or ".tsv" for ".DTA". A file the window
// would refuse is named on standard error and makes the exit code 2; the
// others are still written.
class ExportCommand {
public:
    static int Run(const QStringList& words);

    // Where the table of `file` goes in `folder`: "run1.DTA" as "run1.csv".
    static QString PathInFolder(const QString& folder, const QString& file, const QString& extension);
};
