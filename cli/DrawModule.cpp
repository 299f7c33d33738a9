#include "DrawModule.h"

#include "Console.h"
#include "ExitCode.h"
#include "ProgramModule.h"

#include <string>

bool DrawModule::Draws(const QString& command)
{
    return command == QLatin1String("plot") || command == QLatin1String("report");
}

int DrawModule::Run(const QString& command, int& argc, char** argv)
{
    std::string error;
    const auto* entries = ProgramModule::Load<DrawModuleEntries>("draw", error);
    if (entries == nullptr) {
        Console::Err(QStringLiteral("korvadex-cli: %1; %2 needs it").arg(QString::fromStdString(error), command));
        return ExitUsageOrFile;
    }
    return entries->Run(command, argc, argv);
}
