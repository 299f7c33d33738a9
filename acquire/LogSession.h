#pragma once

#include "ExitCode.h"
#include "LogRecords.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

class LogOutput;
class RunData;
class RunSource;

// When a log ends by itself: after so many seconds or so many runs (or
// neither: only Ctrl-C or a fault ends it).
struct LogLimits {
    std::optional<double> Seconds;
    std::optional<int> Runs;
};

// Whether a run that fails on a read error, a stall, a board error or a
// pulled cable is followed by waiting for the same board and going on, and
// for how long at most (nothing: for ever).
struct ReconnectPolicy {
    bool Enabled = false;
    std::optional<double> Seconds;
};

// The runs of a long-term log one after the other on an identified board,
// each sample appended to the log as its read returns, each gap between two
// runs measured and written as a comment, the file written at least once a
// second. A run that the limits end early is stopped like Ctrl-C, but ends
// the log as done. With reconnecting, a failed run is marked incomplete (its
// rows stay), the link is closed, and the board is looked for every quarter
// of a second until it is back, Ctrl-C, a limit or the policy's time ends
// the wait; the closing comment counts the reconnects and the time lost.
// Each run's row goes to the output as the run starts and again as it ends,
// with how it ended.
class LogSession {
public:
    static constexpr std::chrono::milliseconds CheckInterval{250};

    LogSession(RunSource& board, LogOutput& output, RunData& run, const LogLimits& limits,
               const ReconnectPolicy& reconnect = {});

    // The board, the settings, the start and the program's version; false
    // when the log could not be written.
    bool WriteHead(const std::string& programVersion);
    // Runs until a limit, the operator's stop (ExitStopped) or a fault (its exit code;
    // with reconnecting ExitBoardGone when the board did not come back in time);
    // ExitUsageOrFile when the log could not be written.
    ExitCode LogRuns();

    std::int64_t Samples() const { return samples_; }
    int Runs() const { return runNumber_; }
    // What ended the log when the board failed and was not waited for
    // ("cable pulled (the board has left the USB bus)"), else empty.
    const QString& Failure() const { return failure_; }

private:
    using WallClock = std::chrono::system_clock;
    using Clock = std::chrono::steady_clock;

    bool LimitReached() const;
    ExitCode LogOneRun();
    LogRun RunRow(const char* end) const;
    const char* EndWord(ExitCode result) const;
    void Arrived(std::int32_t taken);
    void WriteGap(WallClock::time_point now);
    void WriteEvent(const char* kind, double seconds, const std::string& text);
    bool Reconnects(ExitCode result) const;
    ExitCode Reconnect();
    ExitCode AwaitBoard(Clock::time_point lost);
    Clock::duration Pause(Clock::time_point now, std::optional<Clock::time_point> giveUp) const;
    std::string ReconnectSummary() const;
    static std::string Ending(ExitCode result);

    RunSource& board_;
    LogOutput& output_;
    RunData& run_;
    LogLimits limits_;
    ReconnectPolicy reconnect_;
    Clock::time_point start_;
    int runNumber_ = 0;
    std::string runStart_;
    std::int64_t runFirst_ = 0;  // the run's first sample in the log
    std::int32_t taken_ = 0;
    std::int64_t samples_ = 0;
    QString failure_;
    std::optional<WallClock::time_point> lastArrival_;
    int lastArrivalRun_ = 0;
    int reconnects_ = 0;
    Clock::duration lost_{};  // from each failure until the board was back
    bool written_ = true;
};
