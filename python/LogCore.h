#pragma once

#include "ChannelStream.h"
#include "LogSource.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// A long-term log (text or HDF5) opened through the companion's log
// sources: its head, runs and events checked as the companion checks them,
// its codes in any slice, and the report of the per-channel streams that
// Python worked over its blocks, finished as report --json finishes it.
class LogCore {
public:
    // FileFormatError with the reader's reason for a file that is no log.
    static std::unique_ptr<LogCore> Open(const QString& path);

    pybind11::dict Head() const;
    // Rows [first, first + count) of the run table, as (run, start,
    // first_sample, samples, end) tuples, and of the event list, as (time,
    // kind, run, seconds, text): read a page at a time, as the codes are.
    std::int64_t RunCount() const { return Source().RunCount(); }
    pybind11::list Runs(std::int64_t first, std::int64_t count);
    std::int64_t EventCount() const { return Source().EventCount(); }
    pybind11::list Events(std::int64_t first, std::int64_t count);
    std::int64_t Samples() const { return Source().Samples(); }
    int Channels() const { return Source().Channels(); }

    // int32 codes of samples [first, first + count), (count,) or (count, 2);
    // FileFormatError when the file cannot be read there. Safe from many
    // threads at once: the reader has one position in its file, so reads
    // take turns (they run without the GIL).
    pybind11::array ReadCodes(std::int64_t first, std::int64_t count);
    // Level `level` of the log's block summaries as a structured array
    // (min, max, count, sum, m2), (rows,) or (rows, 2); ValueError for a
    // level the log does not hold (a text log holds none).
    pybind11::array Summary(int level);
    // Samples [start, stop) over `columns` columns: each column's lowest and
    // highest code, float64 arrays (columns,) or (columns, 2), NaN where a
    // column holds no sample; from the summaries where a column spans a
    // block, as the log window draws them.
    pybind11::tuple Envelope(std::int64_t start, std::int64_t stop, int columns);
    // Closes the file; ValueError from every call after.
    void Close();

    // The report of one stream per column of the codes (CH0 first): the
    // line of report --json and each channel's histogram and spectrum.
    pybind11::tuple Report(const std::vector<const ChannelStream*>& streams) const;

private:
    LogCore(QString name, std::unique_ptr<LogSource> log);
    LogSource& Source() const;
    // Runs `read` on the source without the GIL, taking its turn with the
    // other reads; FileFormatError with the reader's reason when it fails.
    void TakeTurn(const std::function<bool(LogSource&)>& read);

    QString name_;
    std::unique_ptr<LogSource> log_;
    std::mutex reading_;
};
