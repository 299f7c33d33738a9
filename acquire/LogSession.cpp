#include "LogSession.h"

#include "MeasureItems.h"
#include "PlainNumber.h"
#include "RunData.h"
#include "RunSource.h"

namespace {

std::string Seconds(double seconds, int decimals = 3)
{
    std::string text;
    PlainNumber::AppendFixed(text, seconds, decimals);
    return text + " s";
}

} // namespace

LogSession::LogSession(RunSource& board, LogFile& file, RunData& run, const LogLimits& limits)
    : board_(board)
    , file_(file)
    , run_(run)
    , table_(run.Settings)
    , limits_(limits)
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
    }
    if (!written_)
        return ExitUsageOrFile;
    // The planned end stops the last run early; only Ctrl-C is the operator's stop.
    if (result == ExitStopped && !board_.OperatorStopped())
        result = ExitDone;
    file_.Comment(Ending(result) + " after " + std::to_string(runNumber_) + " runs, " + std::to_string(samples_)
        + " samples, " + Seconds(std::chrono::duration<double>(Clock::now() - start_).count()));
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
    written_ = file_.FlushIfDue() && written_;
}

void LogSession::WriteGap(WallClock::time_point now)
{
    const double gap = std::chrono::duration<double>(now - *lastArrival_).count();
    file_.Comment("gap: " + Seconds(gap) + " between the last sample of run " + std::to_string(runNumber_ - 1)
        + " and the first of run " + std::to_string(runNumber_) + " (nominal interval "
        + Seconds(1.0 / MeasureItems::SampleRate(run_.Settings), 6) + ")");
}

std::string LogSession::Ending(ExitCode result)
{
    switch (result) {
    case ExitDone:
        return "ended";
    case ExitStopped:
        return "stopped by Ctrl-C";
    case ExitReadError:
        return "ended by a read error";
    default:
        return "ended by a board error";
    }
}
