#pragma once

#include <QStringList>

// korvadex-cli info [--json] FILE.DTA...: each file's settings in words and
// the window's statistics texts of every channel holding data, or one JSON
// line per file with the noise figures. A file the window would refuse is
// named on standard error and makes the exit code 2; the others are still
// reported.
class InfoCommand {
public:
    static int Run(const QStringList& words);
};
