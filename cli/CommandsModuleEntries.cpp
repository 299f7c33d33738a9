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

int RunCommand(const QString& command, const QStringList& words)
{
    if (command == QLatin1String("info"))
        return InfoCommand::Run(words);
    if (command == QLatin1String("index"))
        return IndexCommand::Run(words);
    if (command == QLatin1String("measure"))
        return MeasureCommand::Run(words);
    if (command == QLatin1String("sweep"))
        return SweepCommand::Run(words);
    if (command == QLatin1String("export"))
        return ExportCommand::Run(words);
    if (command == QLatin1String("log"))
        return LogCommand::Run(words);
    if (command == QLatin1String("devices"))
        return DevicesCommand::Run(words);
    if (command == QLatin1String("test"))
        return TestCommand::Run(words);
    if (command == QLatin1String("results"))
        return ResultsCommand::Run(words);
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
