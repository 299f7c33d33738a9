#pragma once

#include "LogBlocks.h"
#include "RunAnalysis.h"

#include <QString>

#include <functional>

class LogSource;

// A long-term log's report in one pass over the picked samples, in memory
// that does not grow with the log: per channel the figures, histogram,
// spectrum and spurs of ChannelStream, and for a page the whole trace as
// TraceColumns column extremes. The picked pieces are analysed as one
// stream, as Python's blocks over the log's codes are.
class LogAnalysis {
public:
    static constexpr int TraceColumns = 4096;

    // Samples done of all, after each block; false cancels.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

    // False with the log's error when a read fails, or with an empty error
    // when progress cancelled.
    static bool Of(const QString& name, LogSource& log, const std::vector<LogBlocks::Piece>& pieces, bool withTrace,
                   RunAnalysis& analysis, QString& error, const Progress& progress = {});
};
