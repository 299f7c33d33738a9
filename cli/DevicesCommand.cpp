#include "DevicesCommand.h"

#include "Ad7175.h"
#include "BoardChoice.h"
#include "ChosenD2xx.h"
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

const char* const ExpectedName = "KORVADEX";
const char* const NotTheBoard = "not a KORVADEX Board";

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

// Asks the device who it is, as the window identifies the board.
QString Identify(D2xx& driver, const FtdiDevice& device)
{
    if (device.State != DeviceState::Usable)
        return QString();
    // A listed device is reached by its serial number; device 0 of a driver
    // without a list as it is.
    if (driver.Discovery() != nullptr && device.Serial.isEmpty())
        return QStringLiteral("no serial number: cannot be chosen");
    ChosenD2xx chosen(driver);
    chosen.Choose(device.Serial.toStdString());
    TADC adc(nullptr, chosen);
    if (!adc.OpenBoard())
        return QStringLiteral("cannot be opened");
    char name[TADC::NameLength + 1] = {};
    char version[TADC::NameLength + 1] = {};
    const bool board = adc.CheckBoard() && adc.GetBoardName(name) && QString::fromLatin1(name) == QLatin1String(ExpectedName)
                       && adc.GetVersion(version);
    adc.CloseBoard();
    if (!board)
        return QString::fromLatin1(NotTheBoard);
    return QString::fromLatin1(name) + QStringLiteral(" / ") + QString::fromLatin1(version);
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
        const QString identity = asked ? Identify(*driver, device) : QString();
        Console::Out(line.Has(JsonOption) ? DeviceTable::Json(device, identity) : DeviceTable::Line(device, identity));
    }
    // The list is on standard output already.
    return chosenFound ? ExitDone : BoardChoice::NotAttached(chosen, {});
}
