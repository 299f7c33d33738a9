#pragma once

#include "ExitCode.h"
#include "LogFile.h"
#include "LogTable.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

class RunData;
class RunSource;

// When a log ends by itself: after so many seconds or so many runs (or
// neither: only Ctrl-C or a fault ends it).
struct LogLimits {
    std::optional<double> Seconds;
    std::optional<int> Runs;
};

// The runs of a long-term log one after the other on an identified board,
// each sample appended to the log as its read returns, each gap between two
// runs measured and written as a comment, the file written at least once a
// second. A run that the limits end early is stopped like Ctrl-C, but ends
// the log as done.
class LogSession {
public:
    LogSession(RunSource& board, LogFile& file, RunData& run, const LogLimits& limits);

    // The comments naming the board, the settings and the start, and the header row.
    void WriteHead();
    // Runs until a limit, the operator's stop (ExitStopped) or a fault (its exit code);
    // ExitUsageOrFile when the log could not be written.
    ExitCode LogRuns();

    std::int64_t Samples() const { return samples_; }
    int Runs() const { return runNumber_; }

private:
    using WallClock = std::chrono::system_clock;
    using Clock = std::chrono::steady_clock;

    bool LimitReached() const;
    ExitCode LogOneRun();
    void Arrived(std::int32_t taken);
    void WriteGap(WallClock::time_point now);
    static std::string Ending(ExitCode result);

    RunSource& board_;
    LogFile& file_;
    RunData& run_;
    LogTable table_;
    LogLimits limits_;
    Clock::time_point start_;
    int runNumber_ = 0;
    std::int32_t taken_ = 0;
    std::int64_t samples_ = 0;
    std::optional<WallClock::time_point> lastArrival_;
    bool written_ = true;
    std::string rows_;  // the rows of one read, kept for its capacity
};
