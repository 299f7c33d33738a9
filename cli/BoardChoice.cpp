#include "BoardChoice.h"

#include "ChosenD2xx.h"
#include "CommandLine.h"
#include "Console.h"
#include "DeviceList.h"
#include "DeviceTable.h"

#include <QtGlobal>

#include <algorithm>

const QString BoardChoice::Option = QStringLiteral("--board");

namespace {

const char* const BoardVariable = "KORVADEX_BOARD";

bool Attached(const std::vector<FtdiDevice>& devices, const QString& serial)
{
    return std::any_of(devices.begin(), devices.end(), [&](const FtdiDevice& d) { return d.Serial == serial; });
}

} // namespace

ExitCode BoardChoice::NotAttached(const QString& serial, const std::vector<FtdiDevice>& attached)
{
    Console::Err(QStringLiteral("korvadex-cli: no FTDI device with serial number %1 is attached").arg(serial));
    if (!attached.empty())
        Console::Err(QStringLiteral("attached:\n") + DeviceTable::Lines(attached));
    return ExitNotFound;
}

QString BoardChoice::Serial(const CommandLine& line)
{
    if (line.Has(Option))
        return line.Value(Option);
    return qEnvironmentVariable(BoardVariable);
}

ExitCode BoardChoice::Apply(ChosenD2xx& chosen, const QString& serial)
{
    // Without a device list there is only device 0, and nothing to ask.
    std::vector<FtdiDevice> devices;
    const bool listed = chosen.Discovery() != nullptr && DeviceList::Read(chosen, devices) == FT_OK;
    if (!serial.isEmpty()) {
        if (!chosen.Choose(serial.toStdString())) {
            Console::Err(QStringLiteral("korvadex-cli: --board %1: the D2XX driver in use cannot open a device by "
                                        "serial number; attach only the board and leave out --board")
                             .arg(serial));
            return ExitNotFound;
        }
        return listed && !Attached(devices, serial) ? NotAttached(serial, devices) : ExitDone;
    }
    chosen.Choose(std::string());
    if (devices.size() > 1) {
        Console::Err(QStringLiteral("korvadex-cli: %1 FTDI devices are attached; choose the board with %2 SERIAL "
                                    "(or %3=SERIAL):\n")
                         .arg(devices.size())
                         .arg(Option, QLatin1String(BoardVariable))
                     + DeviceTable::Lines(devices));
        return ExitUsageOrFile;
    }
    return ExitDone;
}
