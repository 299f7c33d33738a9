#include "BoardIdentity.h"

#include "Ad7175.h"
#include "ChosenD2xx.h"

namespace {

const char* const ExpectedName = "KORVADEX";

} // namespace

const char* const BoardIdentity::NotTheBoard = "not a KORVADEX Board";

QString BoardIdentity::Ask(D2xx& driver, const FtdiDevice& device)
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

bool BoardIdentity::IsBoard(const QString& identity)
{
    return identity.startsWith(QLatin1String(ExpectedName) + QStringLiteral(" / "));
}
