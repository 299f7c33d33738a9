#pragma once

#include "BlockSummary.h"
#include "LogRecords.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A long-term log as its analysis sees it, whichever form it has (text or
// HDF5): the head, the runs and the events read a page at a time (a week's
// log holds near a million runs), and the codes read a block at a time. A refusal or a failed read leaves its reason in Error(), naming the
// file.
class LogSource {
public:
    virtual ~LogSource() = default;

    virtual const LogHead& Head() const = 0;
    // Columns of the codes: 1 (the channel of Head().Settings.CHSel) or 2
    // (CH0 then CH1).
    virtual int Channels() const = 0;
    virtual std::int64_t Samples() const = 0;
    // Rows [first, first + count) of the run table and the event list
    // replace what `out` held.
    virtual std::int64_t RunCount() const = 0;
    virtual bool ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out) = 0;
    virtual std::int64_t EventCount() const = 0;
    virtual bool ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out) = 0;
    // Every run in order, read PageRows at a time; false with Error() when
    // a page cannot be read.
    static constexpr std::int64_t PageRows = 4096;
    bool ForEachRun(const std::function<void(const LogRun&)>& visit);
    // Samples (pairs) [first, first + count), Channels() codes each, row by
    // row; quickest when each read follows the one before.
    virtual bool ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out) = 0;
    // Block summaries (data's SummaryPyramid): levels 1 .. SummaryLevels()
    // of SummaryRows() rows, Channels() summaries a row, each checked as it
    // is read; an HDF5 log's /summary, none for a text log.
    virtual int SummaryLevels() const { return 0; }
    virtual std::int64_t SummaryRows(int) const { return 0; }
    virtual bool ReadSummary(int, std::int64_t, std::int64_t, std::vector<BlockSummary>&) { return false; }
    virtual QString Error() const = 0;

    // Whether the file is a long-term log by its first bytes: HDF5, or text
    // whose first line is the text log's.
    static bool IsLog(const QString& path);
    // The log of either form, or nothing with the reason in `error`.
    static std::unique_ptr<LogSource> Open(const QString& path, QString& error);

protected:
    virtual bool OpenFile(const QString& path) = 0;
};
