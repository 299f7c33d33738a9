#pragma once

#include "Hdf5ChunkWriter.h"
#include "Hdf5Handle.h"
#include "Hdf5LogRows.h"
#include "Hdf5SummaryTables.h"
#include "LogRecords.h"
#include "SummaryPyramid.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// Writes an HDF5 long-term log (LogLayout) for SWMR: the file in the latest
// format, every dataset and attribute made at Create, then SWMR writing
// started, after which the file only grows (codes and rows appended) and a
// run's row is rewritten when the run ends. Codes and rows are kept in
// memory until Flush, which writes a starting run's row before its codes
// and an ended run's row after them, so that a reader (or what a killed
// writer leaves) never sees a sample outside a run, nor a run whose samples
// are not all there; the block summaries of whole blocks follow the codes
// they summarise in the same way. Every failure ends in Error(); after one,
// nothing more is written, and what was flushed before stays readable.
class Hdf5LogWriter {
public:
    // Samples (pairs) per chunk of /codes at a rate (samples or pairs a
    // second), the smallest chunk, and the deflate level; see MakeDatasets.
    static std::int64_t ChunkFor(double sampleRate);
    static constexpr std::int64_t SmallestChunk = 64;
    static constexpr int DeflateLevel = 1;

    Hdf5LogWriter() = default;
    ~Hdf5LogWriter();
    Hdf5LogWriter(const Hdf5LogWriter&) = delete;
    Hdf5LogWriter& operator=(const Hdf5LogWriter&) = delete;

    // Makes the file anew, replacing one of the same name.
    bool Create(const QString& path);
    // The head's attributes and the datasets, then SWMR writing; the head's
    // settings decide one column of codes or two.
    bool Begin(const LogHead& head, const char* programWord);
    QString Error() const { return error_; }

    // Samples (pairs) row by row: a value per channel of the head's settings.
    void AddCodes(const std::int32_t* codes, std::int64_t count);
    // A new run's row, or a known run's row again (by its number) when it ends.
    void SetRun(const LogRun& run);
    void AddEvent(const LogEvent& event);
    // Writes what was added and flushes the file; false on a failure.
    bool Flush();
    // Flushes and closes; false on a failure.
    bool Close();

private:
    bool Fail(const QString& what);
    bool MakeFile(const QByteArray& name);
    bool WriteAttributes(const LogHead& head, const char* programWord);
    bool MakeDatasets(double sampleRate);
    bool WriteCodes();
    bool WriteSummaries();
    bool WriteStartedRuns();
    bool WriteEndedRuns();
    bool WriteEvents();

    QString error_;
    bool failed_ = false;
    int channels_ = 1;
    std::int32_t channelMode_ = 0;
    Hdf5Handle file_;
    Hdf5Handle codes_;
    std::unique_ptr<Hdf5ChunkWriter> chunkWriter_;
    Hdf5Handle runTable_;
    Hdf5Handle eventTable_;
    Hdf5Handle runType_;
    Hdf5Handle eventType_;
    std::vector<std::int32_t> pending_;
    std::int64_t written_ = 0;  // samples in /codes
    SummaryPyramid pyramid_{1};
    Hdf5SummaryTables summaries_;
    std::map<std::int32_t, Hdf5LogRows::RunRow> runs_;  // rows to write, by run number
    std::int64_t runRows_ = 0;  // rows in /runs
    std::vector<Hdf5LogRows::EventRow> events_;
    std::int64_t eventRows_ = 0;
};
