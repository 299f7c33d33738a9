#pragma once

#include <QStringList>

// korvadex-cli sweep --channel 0|1|2 [--count ITEM] [--time-cap SECONDS]
// [--csv] [--stall-timeout SECONDS]: one run per filter and data rate (see
// SweepPlan), the board identified once, and a table of the noise figures
// printed a row at a time as the runs finish (SweepTable). A failing run
// ends the sweep with its exit code.
class SweepCommand {
public:
    static int Run(const QStringList& words);
};
