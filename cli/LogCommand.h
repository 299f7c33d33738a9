#pragma once

#include <QString>
#include <QStringList>

class CommandLine;
struct ReconnectPolicy;

// korvadex-cli log --rate ITEM --channel 0|1|2 --filter sinc3|sinc5
// -o OUT.csv|OUT.h5 [--format text|hdf5] [--duration SECONDS|--runs N] [--force]
// [--stall-timeout SECONDS] [--reconnect[=SECONDS]]: long-term acquisition.
// The board is identified once, then runs of the largest count follow back to
// back; every sample is appended to the log as it arrives, as text
// (TextLogOutput) or, for a name ending in .h5, as HDF5 (Hdf5LogOutput). Comment lines
// ("# ...") name the board, the settings and the start, measure each gap
// between runs and tell how the log ended. It ends after the duration or the
// runs, at Ctrl-C (exit 130) or at a read error (exit 6), always with
// everything taken written; with --reconnect a failed run is followed by
// waiting for the same board instead (exit 7 when it does not come back in
// time).
class LogCommand {
public:
    static const QString ReconnectOption;  // "--reconnect"

    static int Run(const QStringList& words);

    // --reconnect[=SECONDS] into policy; an empty error when it is good.
    static QString ReconnectFrom(const CommandLine& line, ReconnectPolicy& policy);
};
