#pragma once

#include "LogBlocks.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class LogSource;
class RunData;
class SampleTable;

// Picked samples of a log written out: as the sample table of `export`, a
// block at a time for a stretch of any length, or, when it fits a run, as a
// run that the window saves as a ".DTA" file.
class StretchExport {
public:
    // Each block's text in order (the header first) to `append`, which may
    // refuse it; false with the reason in `error` when a read or an append
    // fails.
    static bool Table(LogSource& log, const std::vector<LogBlocks::Piece>& pieces, const SampleTable& table,
                      const std::function<bool(const std::string&)>& append, QString& error);
    // Samples [first, first + count) of the log as a run of the log's
    // settings, its count the smallest item of the count list that holds
    // them (as a run stopped early is kept); false with the reason when
    // more than a run holds, or when they cannot be read.
    static bool Run(LogSource& log, std::int64_t first, std::int64_t count, RunData& run, QString& error);
};
