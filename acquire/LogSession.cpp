#include "LogSession.h"

#include "LogLayout.h"
#include "LogOutput.h"
#include "LogTable.h"
#include "MeasureItems.h"
#include "PlainNumber.h"
#include "RunData.h"
#include "RunSource.h"

#include <algorithm>
#include <thread>

namespace {

std::string Seconds(double seconds, int decimals = 3)
{
    std::string text;
    PlainNumber::AppendFixed(text, seconds, decimals);
    return text + " s";
}

std::chrono::steady_clock::duration Span(double seconds)
{
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
}

} // namespace

LogSession::LogSession(RunSource& board, LogOutput& output, RunData& run, const LogLimits& limits,
                       const ReconnectPolicy& reconnect)
    : board_(board)
    , output_(output)
    , run_(run)
    , limits_(limits)
    , reconnect_(reconnect)
    , start_(Clock::now())
{
}

bool LogSession::WriteHead(const std::string& programVersion)
{
    LogHead head;
    head.Settings = run_.Settings;
    head.Board = board_.Identity().toStdString();
    head.BoardSerial = board_.Serial().toStdString();
    head.SettingsText = MeasureItems::Describe(run_.Settings).toStdString();
    head.Started = LogTable::WallClock(WallClock::now());
    head.ProgramVersion = programVersion;
    return output_.Head(head);
}

ExitCode LogSession::LogRuns()
{
    ExitCode result = ExitDone;
    // A log that can no longer be written ends at once: no run is started for nothing.
    while (result == ExitDone && written_ && !LimitReached()) {
        ++runNumber_;
        result = LogOneRun();
        if (Reconnects(result))
            result = Reconnect();
    }
    if (!written_)
        return ExitUsageOrFile;
    // The planned end stops the last run early; only Ctrl-C is the operator's stop.
    if (result == ExitStopped && !board_.OperatorStopped())
        result = ExitDone;
    // A failure not waited out is named as a reconnecting log names it.
    if (result == ExitReadError || result == ExitBoardError)
        failure_ = board_.Disconnect();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    WriteEvent(LogLayout::EventEnd, elapsed,
               Ending(result) + " after " + std::to_string(runNumber_) + " runs, " + std::to_string(samples_)
                   + " samples, " + Seconds(elapsed) + ReconnectSummary()
                   + (failure_.isEmpty() ? std::string() : ": " + failure_.toStdString()));
    // Some file systems tell a failed write only when the file is closed.
    return output_.Close() ? result : ExitUsageOrFile;
}

bool LogSession::LimitReached() const
{
    if (limits_.Runs && runNumber_ >= *limits_.Runs)
        return true;
    return limits_.Seconds && Clock::now() - start_ >= std::chrono::duration<double>(*limits_.Seconds);
}

ExitCode LogSession::LogOneRun()
{
    taken_ = 0;
    runFirst_ = samples_;
    runStart_ = LogTable::WallClock(WallClock::now());
    output_.RunStarted(RunRow(LogLayout::EndRunning));
    RunWatch watch;
    watch.Arrived = [this](std::int32_t taken) { Arrived(taken); };
    watch.StopWanted = [this] { return !written_ || (limits_.Seconds && LimitReached()); };
    const ExitCode result = board_.Measure(run_, QStringLiteral("run %1").arg(runNumber_), watch);
    // A run cut short by the board says so in the text log, which has no
    // run row: waited for ("incomplete"), or the log's last ("ended (read
    // error)").
    std::string note;
    const std::string counted = std::to_string(taken_) + " of "
        + std::to_string(MeasureItems::CountValue(run_.Settings.DataCountSel)) + " samples";
    if (Reconnects(result))
        note = "run " + std::to_string(runNumber_) + " incomplete: " + counted;
    else if (result == ExitReadError || result == ExitBoardError)
        note = "run " + std::to_string(runNumber_) + " ended (" + EndWord(result) + "): " + counted;
    output_.RunEnded(RunRow(EndWord(result)), note);
    written_ = output_.Flush() && written_;
    return result;
}

LogRun LogSession::RunRow(const char* end) const
{
    return LogRun{runNumber_, runStart_, runFirst_, taken_, end};
}

const char* LogSession::EndWord(ExitCode result) const
{
    if (Reconnects(result))
        return LogLayout::EndReconnect;
    switch (result) {
    case ExitDone:
        return LogLayout::EndComplete;
    case ExitStopped:
        return LogLayout::EndStopped;
    case ExitReadError:
        return LogLayout::EndReadError;
    default:
        return LogLayout::EndBoardError;
    }
}

void LogSession::Arrived(std::int32_t taken)
{
    const WallClock::time_point now = WallClock::now();
    if (taken_ == 0 && lastArrival_)
        WriteGap(now);
    output_.Samples(run_, runNumber_, taken_, taken, now);
    samples_ += taken - taken_;
    taken_ = taken;
    lastArrival_ = now;
    lastArrivalRun_ = runNumber_;
    written_ = output_.FlushIfDue() && written_;
}

void LogSession::WriteGap(WallClock::time_point now)
{
    const double gap = std::chrono::duration<double>(now - *lastArrival_).count();
    WriteEvent(LogLayout::EventGap, gap,
               "gap: " + Seconds(gap) + " between the last sample of run " + std::to_string(lastArrivalRun_)
                   + " and the first of run " + std::to_string(runNumber_) + " (nominal interval "
                   + Seconds(1.0 / MeasureItems::SampleRate(run_.Settings), 6) + ")");
}

void LogSession::WriteEvent(const char* kind, double seconds, const std::string& text)
{
    output_.Event(LogEvent{LogTable::WallClock(WallClock::now()), kind, runNumber_, seconds, text});
}

bool LogSession::Reconnects(ExitCode result) const
{
    return reconnect_.Enabled && written_ && (result == ExitReadError || result == ExitBoardError);
}

// ExitDone when the board is back or a limit ended the wait, ExitStopped at
// Ctrl-C, ExitBoardGone when it did not come back in time.
ExitCode LogSession::Reconnect()
{
    const Clock::time_point lost = Clock::now();
    const std::string cause = board_.Disconnect().toStdString();
    WriteEvent(LogLayout::EventLost, 0.0,
               "board lost at " + LogTable::WallClock(WallClock::now()) + ": " + cause + "; waiting for it"
                   + (reconnect_.Seconds ? " at most " + Seconds(*reconnect_.Seconds) : std::string()));
    // Whoever watches the log sees the wait at once.
    written_ = output_.Flush() && written_;
    const ExitCode result = AwaitBoard(lost);
    lost_ += Clock::now() - lost;
    written_ = output_.Flush() && written_;
    return result;
}

ExitCode LogSession::AwaitBoard(Clock::time_point lost)
{
    std::optional<Clock::time_point> giveUp;
    if (reconnect_.Seconds)
        giveUp = lost + Span(*reconnect_.Seconds);
    for (;;) {
        if (board_.OperatorStopped())
            return ExitStopped;
        if (LimitReached())
            return ExitDone;
        const Clock::time_point now = Clock::now();
        if (giveUp && now >= *giveUp) {
            WriteEvent(LogLayout::EventGivenUp, *reconnect_.Seconds,
                       "the board did not come back within " + Seconds(*reconnect_.Seconds));
            return ExitBoardGone;
        }
        std::this_thread::sleep_for(Pause(now, giveUp));
        if (board_.Reconnect()) {
            ++reconnects_;
            const double away = std::chrono::duration<double>(Clock::now() - lost).count();
            WriteEvent(LogLayout::EventBack, away,
                       "board back at " + LogTable::WallClock(WallClock::now()) + " after " + Seconds(away) + ": "
                           + board_.Identity().toStdString());
            return ExitDone;
        }
    }
}

// Until the next look, or sooner when the wait or the log ends before it.
LogSession::Clock::duration LogSession::Pause(Clock::time_point now, std::optional<Clock::time_point> giveUp) const
{
    Clock::duration pause = CheckInterval;
    if (giveUp)
        pause = std::min(pause, *giveUp - now);
    if (limits_.Seconds)
        pause = std::min(pause, start_ + Span(*limits_.Seconds) - now);
    return std::max(pause, Clock::duration::zero());
}

std::string LogSession::ReconnectSummary() const
{
    if (!reconnect_.Enabled)
        return std::string();
    return "; " + std::to_string(reconnects_) + " reconnects, "
        + Seconds(std::chrono::duration<double>(lost_).count()) + " lost";
}

std::string LogSession::Ending(ExitCode result)
{
    switch (result) {
    case ExitDone:
        return "ended";
    case ExitStopped:
        return "stopped by Ctrl-C";
    case ExitBoardGone:
        return "given up on the board";
    case ExitReadError:
        return "ended by a read error";
    default:
        return "ended by a board error";
    }
}
