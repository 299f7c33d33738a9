#pragma once

#include <QStringList>

// korvadex-cli info [--json] FILE.DTA|LOG...: each file's settings in words
// and the window's statistics texts of every channel holding data, or one
// JSON line per file with the noise figures. A long-term log (text or HDF5)
// is worked in one pass, whole or the part --runs, --from and --to pick. A
// file the window would refuse, or a log that cannot be read, is named on
// standard error and makes the exit code 2; the others are still reported.
class InfoCommand {
public:
    static int Run(const QStringList& words);
};
