#pragma once

#include "LogFile.h"
#include "LogOutput.h"
#include "LogTable.h"

#include <optional>

// The text form of a long-term log: the head as "# " comments and the
// header row, each run's start as a comment, a row per sample (LogTable),
// each event's comment, all through a LogFile's whole blocks.
class TextLogOutput : public LogOutput {
public:
    bool Open(const QString& path) override;
    QString Error() const override { return file_.Error(); }
    bool Head(const LogHead& head) override;
    void RunStarted(const LogRun& run) override;
    void Samples(const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                 std::chrono::system_clock::time_point arrived) override;
    void RunEnded(const LogRun& run, const std::string& note) override;
    void Event(const LogEvent& event) override;
    bool FlushIfDue() override { return file_.FlushIfDue(); }
    bool Flush() override { return file_.Flush(); }
    bool Close() override { return file_.Close(); }

private:
    LogFile file_;
    std::optional<LogTable> table_;
    std::string rows_;  // the rows of one read, kept for its capacity
};
