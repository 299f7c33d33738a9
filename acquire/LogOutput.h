#pragma once

#include "LogRecords.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <string>

class RunData;

// Where a long-term log goes, told what happens in the order it happens:
// the head, each run's start, its samples as they arrive, its end, and the
// events between runs (a gap, a lost board, the board back, the wait given
// up, the log's end), each with the text log's comment for it. The text
// form writes rows and "# " comments, the HDF5 form datasets.
class LogOutput {
public:
    // The program that writes the log, as its head names it.
    static constexpr const char* Program = "korvadex-cli log";

    virtual ~LogOutput() = default;

    // Makes the file anew, replacing one of the same name.
    virtual bool Open(const QString& path) = 0;
    // Why the file could not be made or written.
    virtual QString Error() const = 0;

    virtual bool Head(const LogHead& head) = 0;
    // The run's row as it starts: no samples yet, ended "running".
    virtual void RunStarted(const LogRun& run) = 0;
    // Samples (pairs) [from, to) of the run's code arrays, brought by a read
    // that returned at arrived.
    virtual void Samples(const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                         std::chrono::system_clock::time_point arrived) = 0;
    // The run's row at its end; note is the text log's comment on it (an
    // incomplete run), empty when there is none.
    virtual void RunEnded(const LogRun& run, const std::string& note) = 0;
    virtual void Event(const LogEvent& event) = 0;

    // Writes when a second has passed since the last write; false when the
    // file could not be written.
    virtual bool FlushIfDue() = 0;
    virtual bool Flush() = 0;
    // Flushes and closes the file; false when either failed, the file then
    // as its last successful flush left it.
    virtual bool Close() = 0;
};
