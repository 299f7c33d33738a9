#include "BoardConnection.h"

#include "BoardChoice.h"
#include "CommandLine.h"
#include "D2xxLoader.h"
#include "InterruptFlag.h"
#include "ProgressBar.h"
#include "Terminal.h"

const QString BoardConnection::StallOption = QStringLiteral("--stall-timeout");

BoardConnection::BoardConnection(std::chrono::milliseconds stallTimeout, const QString& serial)
    : driver_(LoadD2xx())
    , chosen_(*driver_)
    , serial_(serial)
    , texts_(console_)
    , session_(chosen_, texts_)
    , stallTimeout_(stallTimeout)
{
    InterruptFlag::Install();
}

std::optional<std::chrono::milliseconds> BoardConnection::StallTimeout(const CommandLine& line)
{
    if (!line.Has(StallOption))
        return DefaultStallTimeout;
    const std::optional<double> seconds = CommandLine::ParseSeconds(line.Value(StallOption));
    if (!seconds)
        return std::nullopt;
    return std::chrono::milliseconds(static_cast<std::chrono::milliseconds::rep>(*seconds * 1000.0));
}

ExitCode BoardConnection::Connect()
{
    const ExitCode chosen = BoardChoice::Apply(chosen_, serial_);
    if (chosen != ExitDone)
        return chosen;
    return session_.Connect();
}

ExitCode BoardConnection::Measure(RunData& run, const QString& label, const RunWatch& watch)
{
    ProgressBar bar(Terminal::StderrIsTerminal(), label);
    RunControl control;
    control.Progress = [&bar, &watch](std::int32_t taken, std::int32_t total) {
        bar.Update(taken, total);
        if (watch.Arrived)
            watch.Arrived(taken);
    };
    control.Interrupted = [&watch] { return InterruptFlag::Raised() || (watch.StopWanted && watch.StopWanted()); };
    control.StallTimeout = stallTimeout_;
    const ExitCode result = session_.Measure(run, control);
    bar.Finish();
    return result;
}

bool BoardConnection::OperatorStopped() const
{
    return InterruptFlag::Raised();
}
