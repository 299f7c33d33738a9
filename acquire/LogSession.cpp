#include "LogSession.h"

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

LogSession::LogSession(RunSource& board, LogFile& file, RunData& run, const LogLimits& limits,
                       const ReconnectPolicy& reconnect)
    : board_(board)
    , file_(file)
    , run_(run)
    , table_(run.Settings)
    , limits_(limits)
    , reconnect_(reconnect)
    , start_(Clock::now())
{
}

void LogSession::WriteHead()
{
    file_.Comment("korvadex-cli log");
    file_.Comment("board: " + board_.Identity().toStdString());
    file_.Comment("settings: " + MeasureItems::Describe(run_.Settings).toStdString());
    file_.Comment("started: " + LogTable::WallClock(WallClock::now()));
    file_.Add(table_.Header());
}

ExitCode LogSession::LogRuns()
{
    ExitCode result = ExitDone;
    while (result == ExitDone && !LimitReached()) {
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
    file_.Comment(Ending(result) + " after " + std::to_string(runNumber_) + " runs, " + std::to_string(samples_)
        + " samples, " + Seconds(std::chrono::duration<double>(Clock::now() - start_).count())
        + ReconnectSummary());
    return file_.Flush() ? result : ExitUsageOrFile;
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
    RunWatch watch;
    watch.Arrived = [this](std::int32_t taken) { Arrived(taken); };
    watch.StopWanted = [this] { return !written_ || (limits_.Seconds && LimitReached()); };
    const ExitCode result = board_.Measure(run_, QStringLiteral("run %1").arg(runNumber_), watch);
    written_ = file_.Flush() && written_;
    return result;
}

void LogSession::Arrived(std::int32_t taken)
{
    const WallClock::time_point now = WallClock::now();
    if (taken_ == 0 && lastArrival_)
        WriteGap(now);
    rows_.clear();
    table_.AppendRows(rows_, run_, runNumber_, taken_, taken, now);
    file_.Add(rows_);
    samples_ += taken - taken_;
    taken_ = taken;
    lastArrival_ = now;
    lastArrivalRun_ = runNumber_;
    written_ = file_.FlushIfDue() && written_;
}

void LogSession::WriteGap(WallClock::time_point now)
{
    const double gap = std::chrono::duration<double>(now - *lastArrival_).count();
    file_.Comment("gap: " + Seconds(gap) + " between the last sample of run " + std::to_string(lastArrivalRun_)
        + " and the first of run " + std::to_string(runNumber_) + " (nominal interval "
        + Seconds(1.0 / MeasureItems::SampleRate(run_.Settings), 6) + ")");
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
    file_.Comment("run " + std::to_string(runNumber_) + " incomplete: " + std::to_string(taken_) + " of "
        + std::to_string(MeasureItems::CountValue(run_.Settings.DataCountSel)) + " samples");
    file_.Comment("board lost at " + LogTable::WallClock(WallClock::now()) + ": " + cause + "; waiting for it"
        + (reconnect_.Seconds ? " at most " + Seconds(*reconnect_.Seconds) : std::string()));
    // Whoever watches the log sees the wait at once.
    written_ = file_.Flush() && written_;
    const ExitCode result = AwaitBoard(lost);
    lost_ += Clock::now() - lost;
    written_ = file_.Flush() && written_;
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
            file_.Comment("the board did not come back within " + Seconds(*reconnect_.Seconds));
            return ExitBoardGone;
        }
        std::this_thread::sleep_for(Pause(now, giveUp));
        if (board_.Reconnect()) {
            ++reconnects_;
            file_.Comment("board back at " + LogTable::WallClock(WallClock::now()) + " after "
                + Seconds(std::chrono::duration<double>(Clock::now() - lost).count()) + ": "
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
