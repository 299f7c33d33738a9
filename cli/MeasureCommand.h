#pragma once

#include <QString>
#include <QStringList>

class RunData;

// korvadex-cli measure --rate ITEM --count ITEM --channel 0|1|2
// --filter sinc3|sinc5 [-o FILE.DTA] [--force] [--json]
// [--stall-timeout SECONDS]: one run as the window takes it, its statistics
// printed as info prints them, and the file saved. The exit code tells how
// the run ended (ExitCode).
class MeasureCommand {
public:
    static int Run(const QStringList& words);

    // The window's file-name rule: a path that does not end in exactly ".DTA"
    // gets it appended (run1.dta becomes run1.dta.DTA).
    static QString WithDtaExtension(const QString& path);

    // Saves the run as the window's save command does, saying on standard
    // error why it could not; an existing file is replaced only when forced.
    static int Save(const QString& path, const RunData& run, bool force);
};
