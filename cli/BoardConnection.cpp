#include "BoardConnection.h"

#include "BoardChoice.h"
#include "BoardProblem.h"
#include "Console.h"
#include "CommandLine.h"
#include "D2xxLoader.h"
#include "DeviceList.h"
#include "InterruptFlag.h"
#include "ProgressBar.h"
#include "Terminal.h"

#include <algorithm>
#include <vector>

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
    boardSerial_ = serial_;
    std::vector<FtdiDevice> devices;
    // Without a choice the board is the only device listed; asking the list
    // sends nothing to it.
    if (boardSerial_.isEmpty() && chosen_.Discovery() != nullptr && DeviceList::Read(chosen_, devices) == FT_OK
        && devices.size() == 1)
        boardSerial_ = devices.front().Serial;
    const ExitCode connected = session_.Connect();
    // After the window's own line, why, and what to do about it.
    if (connected == ExitNotFound)
        Console::Err(BoardProblem::Reason(chosen_, serial_, BoardChoice::Option + QStringLiteral(" SERIAL")));
    return connected;
}

ExitCode BoardConnection::Measure(RunData& run, const QString& label, const RunWatch& watch)
{
    ProgressBar bar(showProgress_ && Terminal::StderrIsTerminal(), label);
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

QString BoardConnection::Disconnect()
{
    session_.Disconnect();
    if (!BoardAttached())
        return QStringLiteral("cable pulled (the board has left the USB bus)");
    switch (session_.LastFailure()) {
    case BoardSession::Failure::Refused:
        return session_.SettingFault().isEmpty()
            ? QStringLiteral("board error (a setting was refused)")
            : QStringLiteral("board error (%1)").arg(session_.SettingFault());
    case BoardSession::Failure::Stall:
        return QStringLiteral("stall (no samples for %1 ms)").arg(stallTimeout_.count());
    case BoardSession::Failure::ReadError:
    case BoardSession::Failure::None:
        break;
    }
    return QStringLiteral("read error");
}

bool BoardConnection::Reconnect()
{
    if (!BoardAttached())
        return false;
    // Opened by its serial number: another device may hold index 0 by now.
    if (!boardSerial_.isEmpty())
        chosen_.Choose(boardSerial_.toStdString());
    return session_.Connect() == ExitDone;
}

bool BoardConnection::BoardAttached()
{
    std::vector<FtdiDevice> devices;
    if (DeviceList::Read(chosen_, devices) != FT_OK)
        return false;
    return std::any_of(devices.begin(), devices.end(), [this](const FtdiDevice& device) {
        return device.State == DeviceState::Usable && (boardSerial_.isEmpty() || device.Serial == boardSerial_);
    });
}
