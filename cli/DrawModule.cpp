#include "DrawModule.h"

#include "Console.h"
#include "ExitCode.h"
#include "ProgramModule.h"
#include "ResultsCommand.h"

#include <string>

bool DrawModule::Draws(const QString& command, int argc, char** argv)
{
    if (command == QLatin1String("plot") || command == QLatin1String("report"))
        return true;
    if (command != QLatin1String("results"))
        return false;
    for (int i = 2; i < argc; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        if (word == QLatin1String("--"))
            break;
        if (word == ResultsCommand::ReportOption || word.startsWith(ResultsCommand::ReportOption + QLatin1Char('=')))
            return true;
    }
    return false;
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
