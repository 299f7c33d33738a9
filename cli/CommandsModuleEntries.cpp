#include "CommandProcess.h"
#include "CommandsModule.h"
#include "DevicesCommand.h"
#include "DrawModule.h"
#include "ExportCommand.h"
#include "IndexCommand.h"
#include "InfoCommand.h"
#include "LogCommand.h"
#include "MeasureCommand.h"
#include "ProgramModule.h"
#include "ResultsCommand.h"
#include "SweepCommand.h"
#include "TestCommand.h"
#include "Usage.h"

#include <QCoreApplication>

// The module korvadex-commands: every command, with Qt Core.

namespace {

// The commands that run here, by the word that names them.
struct Command {
    const char* Name;
    int (*Run)(const QStringList& words);
};

const Command Commands[] = {
    {"info", InfoCommand::Run},
    {"index", IndexCommand::Run},
    {"measure", MeasureCommand::Run},
    {"sweep", SweepCommand::Run},
    {"export", ExportCommand::Run},
    {"log", LogCommand::Run},
    {"devices", DevicesCommand::Run},
    {"test", TestCommand::Run},
    {"results", [](const QStringList& words) { return ResultsCommand::Run(words); }},
};

int RunCommand(const QString& command, const QStringList& words)
{
    for (const Command& known : Commands) {
        if (command == QLatin1String(known.Name))
            return known.Run(words);
    }
    return Usage::Fail(command.isEmpty() ? QStringLiteral("no command") : QStringLiteral("unknown command %1").arg(command));
}

int Run(int& argc, char** argv)
{
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // Only plot, report and results --report need Qt Gui, fonts and a platform: they run in
    // the drawing module.
    if (DrawModule::Draws(command, argc, argv))
        return DrawModule::Run(command, argc, argv);
    QCoreApplication application(argc, argv);
    CommandProcess::Translate(application);
    const QStringList words = QCoreApplication::arguments().mid(2);
    return CommandProcess::End(CommandProcess::Guarded([&command, &words] { return RunCommand(command, words); }));
}

const CommandsModuleEntries entries{Run};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
