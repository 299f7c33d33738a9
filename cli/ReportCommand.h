#pragma once

#include <QStringList>

// korvadex-cli report FILE.DTA... [-o OUT.pdf|OUT.png] [--json]: a page per
// file with the settings, the noise table, trace and histogram per channel
// and the noise spectral density with its largest spurs (ReportPage), and
// with --json the same figures as one line per file (ReportJson). A file the
// window would refuse is named on standard error and makes the exit code 2;
// the others are still reported.
class ReportCommand {
public:
    static int Run(const QStringList& words);
};
