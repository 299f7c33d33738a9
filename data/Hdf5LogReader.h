#pragma once

#include "BlockSummary.h"
#include "Hdf5CodeChunks.h"
#include "Hdf5Handle.h"
#include "Hdf5SummaryLevels.h"
#include "LogRecords.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// Reads an HDF5 long-term log (LogLayout): its head from the root's
// attributes, its runs and events a page at a time (opening counts them and
// checks their order, keeping none), its codes in any slice, and the rows of
// its block summaries. Opened for
// SWMR reading, so that a log still being written, or one whose writer was
// killed (its superblock still says "open for SWMR writing"), opens as it is,
// without clearing that mark first.
class Hdf5LogReader {
public:
    // Read-only with SWMR read. False, with Error(), for a file that is not
    // HDF5, not a log of this program (format attribute), of a later
    // format_version, with a /codes of the wrong type or rank.
    bool Open(const QString& path);
    // The same checks on a file opened for reading and writing (not SWMR),
    // for a program that adds to it through File(): refused while the file
    // says it is open for writing (a writer at work, or one killed).
    bool OpenForUpdate(const QString& path);
    hid_t File() const { return file_.Id(); }
    // Closes every handle and then the file; false when the close fails (a
    // write that failed only then).
    bool Close();
    QString Error() const { return error_; }
    const LogHead& Head() const { return head_; }
    int Channels() const { return channels_; }  // 1 or 2 (columns of /codes)
    std::int64_t Samples() const { return samples_; }  // samples (pairs) in /codes
    // Rows of /runs and /events as they were when the log was opened; rows
    // [first, first + count) replace what `out` held. A "running" last run
    // counts up to Samples(). False with Error() on a read error.
    std::int64_t RunCount() const { return runCount_; }
    bool ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out);
    std::int64_t EventCount() const { return eventCount_; }
    bool ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out);
    // Codes [first, first + count), count * Channels() values row by row;
    // false on a read error or a value that is no converter code (Error()).
    bool ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out);
    // The block summaries (/summary) as they were when the log was opened:
    // levels 1 .. SummaryLevels(), none when the log has none, or none this
    // program takes (SummaryRefusal() says why). Rows [first, first + count)
    // of a level, Channels() summaries a row, replace what `out` held; false
    // with Error() for rows outside the level, a read error, or a row that
    // is no summary of the samples it covers.
    int SummaryLevels() const { return summaries_.Levels(); }
    std::int64_t SummaryRows(int level) const { return summaries_.Rows(level); }
    QString SummaryRefusal() const { return summaries_.Refusal(); }
    bool ReadSummary(int level, std::int64_t first, std::int64_t count, std::vector<BlockSummary>& out);

private:
    bool Fail(const QString& what);
    bool OpenFile(const QString& path, unsigned access);
    bool FailUpdate(const QString& cause);
    bool CheckFormat();
    bool ReadHead();
    bool OpenCodes();
    bool ReadExtent();
    bool CountRuns();
    bool CountEvents();
    bool CheckRows(const char* table, std::int64_t first, std::int64_t count, std::int64_t rows);
    bool CheckCodes(std::int64_t first, std::int64_t count, const std::int32_t* codes);

    QString path_;
    QString error_;
    Hdf5Handle file_;
    Hdf5Handle codes_;
    std::optional<Hdf5CodeChunks> chunks_;  // when /codes is of this program's layout
    Hdf5Handle runTable_;
    Hdf5Handle eventTable_;
    Hdf5SummaryLevels summaries_;
    LogHead head_;
    int channels_ = 0;
    std::int64_t samples_ = 0;
    std::int64_t runCount_ = 0;
    std::int64_t eventCount_ = 0;
    LogRun lastRun_;
};
