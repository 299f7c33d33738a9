#include "BoardProblem.h"

#include "ChosenD2xx.h"
#include "D2xxLoader.h"
#include "DeviceList.h"

#include <algorithm>
#include <vector>

const char* const BoardProblem::UdevRule = "60-korvadex.rules";

QString BoardProblem::MissingDriver()
{
    QString first;
    bool loaded = false;
    SearchD2xx([&](const char* place, std::unique_ptr<D2xx>& driver) {
        if (first.isEmpty())
            first = QString::fromLatin1(place);
        loaded = driver != nullptr;
        return loaded;
    });
    if (loaded)
        return QString();
    return QStringLiteral("no FTDI driver: %1 not found (install FTDI's D2XX driver or libftdi1)").arg(first);
}

QString BoardProblem::Reason(ChosenD2xx& chosen, const QString& serial, const QString& chooseWith)
{
    std::vector<FtdiDevice> devices;
    if (DeviceList::Read(chosen, devices) != FT_OK || devices.empty()) {
        const QString missing = MissingDriver();
        return missing.isEmpty() ? QStringLiteral("no FTDI device attached: plug in the board") : missing;
    }
    // Past the choice there is one device in question: the chosen one, or the
    // only one. A device this user may not open cannot tell its serial
    // number, so the chosen board may be that one.
    auto device = serial.isEmpty() ? devices.begin()
                                   : std::find_if(devices.begin(), devices.end(),
                                                  [&](const FtdiDevice& d) { return d.Serial == serial; });
    if (device == devices.end())
        device = std::find_if(devices.begin(), devices.end(),
                              [](const FtdiDevice& d) { return d.State == DeviceState::NoPermission; });
    if (device == devices.end())
        return QStringLiteral("no FTDI device with serial number %1 is attached: plug in the board").arg(serial);
    const QString name = device->Serial.isEmpty() ? QStringLiteral("device %1").arg(device->Index) : device->Serial;
    switch (device->State) {
    case DeviceState::Busy:
        return QStringLiteral("%1 is open in another program: close it").arg(name);
    case DeviceState::NoPermission:
        return QStringLiteral("%1: no permission to open it: install the package's udev rule %2, or use a seat session")
            .arg(name, QLatin1String(UdevRule));
    case DeviceState::KernelDriver:
        return QStringLiteral("%1 is held by a kernel driver that would not let go: unload it (sudo modprobe -r ftdi_sio)")
            .arg(name);
    case DeviceState::Unreadable:
        return QStringLiteral("%1 cannot be read (%2): unplug it and plug it in again").arg(name, device->Reason);
    case DeviceState::Usable:
        break;
    }
    return QStringLiteral("device %1 (%2) is not a KORVADEX Board: choose the board with %3")
        .arg(QString::number(device->Index), name, chooseWith);
}
