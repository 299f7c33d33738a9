#include "BoardChoice.h"

#include "CommandLine.h"
#include "Console.h"
#include "DeviceChoice.h"

#include <QtGlobal>

const QString BoardChoice::Option = QStringLiteral("--board");

namespace {

ExitCode Told(const DeviceChoice& choice)
{
    if (choice.Code != ExitDone)
        Console::Err(QStringLiteral("korvadex-cli: ") + choice.Message);
    return choice.Code;
}

} // namespace

ExitCode BoardChoice::NotAttached(const QString& serial, const std::vector<FtdiDevice>& attached)
{
    return Told(DeviceChoice::NotAttached(serial, attached));
}

QString BoardChoice::Serial(const CommandLine& line)
{
    if (line.Has(Option))
        return line.Value(Option);
    return qEnvironmentVariable(DeviceChoice::Variable);
}

ExitCode BoardChoice::Apply(ChosenD2xx& chosen, const QString& serial)
{
    return Told(DeviceChoice::Apply(chosen, serial, {Option, Option + QStringLiteral(" SERIAL")}));
}
