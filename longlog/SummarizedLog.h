#pragma once

#include "LogSource.h"

#include <functional>
#include <memory>
#include <vector>

// A log without block summaries (a text log, an HDF5 log older than them
// or never indexed) with them made in memory in one pass over its codes,
// as `index` would write them; every other question goes to the log
// itself. The log window's pictures then read a level, not every code.
class SummarizedLog : public LogSource {
public:
    // Samples done of all, after each block; false cancels.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

    // The log with its summaries; nothing when a read failed (the reason in
    // `error`) or when cancelled (`error` empty).
    static std::unique_ptr<LogSource> Of(std::unique_ptr<LogSource> log, QString& error, const Progress& progress);

    const LogHead& Head() const override { return log_->Head(); }
    int Channels() const override { return log_->Channels(); }
    std::int64_t Samples() const override { return log_->Samples(); }
    std::int64_t RunCount() const override { return log_->RunCount(); }
    bool ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out) override;
    std::int64_t EventCount() const override { return log_->EventCount(); }
    bool ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out) override;
    bool ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out) override;
    int SummaryLevels() const override { return static_cast<int>(levels_.size()); }
    std::int64_t SummaryRows(int level) const override;
    bool ReadSummary(int level, std::int64_t first, std::int64_t count, std::vector<BlockSummary>& out) override;
    QString Error() const override { return log_->Error(); }

protected:
    // Made only by Of, over a log already open.
    bool OpenFile(const QString&) override { return false; }

private:
    explicit SummarizedLog(std::unique_ptr<LogSource> log);

    std::unique_ptr<LogSource> log_;
    std::vector<std::vector<BlockSummary>> levels_;  // by level − 1, Channels() a row
};
