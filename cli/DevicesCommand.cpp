#include "DevicesCommand.h"

#include "BoardChoice.h"
#include "BoardIdentity.h"
#include "CommandLine.h"
#include "Console.h"
#include "D2xxLoader.h"
#include "DeviceList.h"
#include "DeviceTable.h"
#include "ExitCode.h"
#include "Usage.h"

#include <memory>
#include <vector>

namespace {

const QString JsonOption = QStringLiteral("--json");
const QString IdentifyOption = QStringLiteral("--identify");

constexpr int ExitNoDevice = 1;

// The first driver the loader would use and its devices; what every place
// searched held goes to `findings`.
std::unique_ptr<D2xx> FindDevices(std::vector<FtdiDevice>& devices, QStringList& findings)
{
    std::unique_ptr<D2xx> found;
    SearchD2xx([&](const char* place, std::unique_ptr<D2xx>& driver) {
        const QString name = QString::fromLatin1(place);
        if (driver == nullptr) {
            findings << name + QStringLiteral(": not found");
            return false;
        }
        const FT_STATUS status = DeviceList::Read(*driver, devices);
        if (status != FT_OK)
            findings << name + QStringLiteral(": cannot list devices (%1)").arg(DeviceList::StatusName(status));
        else if (driver->Discovery() == nullptr)
            findings << name + QStringLiteral(": no device list in this driver; device 0 not found");
        else
            findings << name + QStringLiteral(": 0 devices");
        found = std::move(driver);
        return true;
    });
    return found;
}

int NoDevice(const QStringList& findings)
{
    Console::Err(QStringLiteral("korvadex-cli: no FTDI device found; looked for a driver in turn:"));
    for (const QString& finding : findings)
        Console::Err(QStringLiteral("  ") + finding);
    return ExitNoDevice;
}

} // namespace

int DevicesCommand::Run(const QStringList& words)
{
    CommandLine line;
    if (!line.Parse(words, {{JsonOption, false}, {IdentifyOption, false}, {BoardChoice::Option, true}}))
        return Usage::Fail(line.Error());
    if (!line.Positional().isEmpty())
        return Usage::Fail(QStringLiteral("devices takes no file name"));
    const bool identify = line.Has(IdentifyOption);
    if (line.Has(BoardChoice::Option) && !identify)
        return Usage::Fail(QStringLiteral("devices takes %1 with %2 only").arg(BoardChoice::Option, IdentifyOption));
    // The choice says which device --identify asks; the list is always whole.
    const QString chosen = identify ? BoardChoice::Serial(line) : QString();

    std::vector<FtdiDevice> devices;
    QStringList findings;
    const std::unique_ptr<D2xx> driver = FindDevices(devices, findings);
    if (devices.empty())
        return NoDevice(findings);
    bool chosenFound = chosen.isEmpty();
    for (const FtdiDevice& device : devices) {
        const bool asked = identify && (chosen.isEmpty() || device.Serial == chosen);
        chosenFound = chosenFound || device.Serial == chosen;
        const QString identity = asked ? BoardIdentity::Ask(*driver, device) : QString();
        Console::Out(line.Has(JsonOption) ? DeviceTable::Json(device, identity) : DeviceTable::Line(device, identity));
    }
    // The list is on standard output already.
    return chosenFound ? ExitDone : BoardChoice::NotAttached(chosen, {});
}
