#pragma once

#include <QStringList>

// korvadex-cli log --rate ITEM --channel 0|1|2 --filter sinc3|sinc5
// -o OUT.csv [--duration SECONDS|--runs N] [--force] [--stall-timeout SECONDS]:
// long-term acquisition. The board is identified once, then runs of the
// largest count follow back to back; every sample is appended to the log
// (LogTable, LogFile) as it arrives. Comment lines ("# ...") name the board,
// the settings and the start, measure each gap between runs and tell how the
// log ended. It ends after the duration or the runs, at Ctrl-C (exit 130) or
// at a read error (exit 6), always with everything taken written.
class LogCommand {
public:
    static int Run(const QStringList& words);
};
