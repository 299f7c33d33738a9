#pragma once

#include "ChannelStream.h"
#include "LogSource.h"

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <QString>

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
    // (run, start, first_sample, samples, end) tuples.
    pybind11::list Runs() const;
    // (time, kind, run, seconds, text) tuples.
    pybind11::list Events() const;
    std::int64_t Samples() const { return Source().Samples(); }
    int Channels() const { return Source().Channels(); }

    // int32 codes of samples [first, first + count), (count,) or (count, 2);
    // FileFormatError when the file cannot be read there. Safe from many
    // threads at once: the reader has one position in its file, so reads
    // take turns (they run without the GIL).
    pybind11::array ReadCodes(std::int64_t first, std::int64_t count);
    // Closes the file; ValueError from every call after.
    void Close();

    // The report of one stream per column of the codes (CH0 first): the
    // line of report --json and each channel's histogram and spectrum.
    pybind11::tuple Report(const std::vector<const ChannelStream*>& streams) const;

private:
    LogCore(QString name, std::unique_ptr<LogSource> log);
    LogSource& Source() const;

    QString name_;
    std::unique_ptr<LogSource> log_;
    std::mutex reading_;
};
