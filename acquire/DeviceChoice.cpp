#include "DeviceChoice.h"

#include "ChosenD2xx.h"
#include "DeviceTable.h"

#include <algorithm>

const char* const DeviceChoice::Variable = "KORVADEX_BOARD";

namespace {

bool Attached(const std::vector<FtdiDevice>& devices, const QString& serial)
{
    return std::any_of(devices.begin(), devices.end(), [&](const FtdiDevice& d) { return d.Serial == serial; });
}

// "--board KVX0001", "serial=KVX0001".
QString Named(const QString& option, const QString& serial)
{
    return option.endsWith(QLatin1Char('=')) ? option + serial : option + QLatin1Char(' ') + serial;
}

} // namespace

DeviceChoice DeviceChoice::NotAttached(const QString& serial, const std::vector<FtdiDevice>& attached)
{
    QString message = QStringLiteral("no FTDI device with serial number %1 is attached").arg(serial);
    if (!attached.empty())
        message += QStringLiteral("\nattached:\n") + DeviceTable::Lines(attached);
    return {ExitNotFound, message};
}

DeviceChoice DeviceChoice::Apply(ChosenD2xx& chosen, const QString& serial, const Wording& wording)
{
    // Without a device list there is only device 0, and nothing to ask.
    std::vector<FtdiDevice> devices;
    const bool listed = chosen.Discovery() != nullptr && DeviceList::Read(chosen, devices) == FT_OK;
    if (!serial.isEmpty()) {
        if (!chosen.Choose(serial.toStdString()))
            return {ExitNotFound, QStringLiteral("%1: the D2XX driver in use cannot open a device by serial number; "
                                                 "attach only the board and leave out %2")
                                      .arg(Named(wording.Option, serial), wording.Option)};
        return listed && !Attached(devices, serial) ? NotAttached(serial, devices) : DeviceChoice{};
    }
    chosen.Choose(std::string());
    if (devices.size() > 1)
        return {ExitUsageOrFile, QStringLiteral("%1 FTDI devices are attached; choose the board with %2 (or %3=SERIAL):\n")
                                         .arg(devices.size())
                                         .arg(wording.Example, QLatin1String(Variable))
                                     + DeviceTable::Lines(devices)};
    return {};
}
