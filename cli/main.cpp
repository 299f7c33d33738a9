#include "CommandProcess.h"
#include "Console.h"
#include "DevicesCommand.h"
#include "DrawModule.h"
#include "ExitCode.h"
#include "ExportCommand.h"
#include "IndexCommand.h"
#include "InfoCommand.h"
#include "LogCommand.h"
#include "MeasureCommand.h"
#include "ResultsCommand.h"
#include "SweepCommand.h"
#include "Terminal.h"
#include "TestCommand.h"
#include "Usage.h"

#include <QCoreApplication>

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

// --help and --version print their text and need no application object,
// whose making costs more than the rest of such a command.
bool PrintedAtOnce(const QString& command)
{
    if (command == QLatin1String("--help") || command == QLatin1String("help"))
        Console::Out(Usage::Text());
    else if (command == QLatin1String("--version"))
        Console::Out(Usage::Version());
    else
        return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Terminal::WritesUtf8Unchanged();
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (PrintedAtOnce(command))
        return ExitDone;
    // Only plot, report and results --report need Qt Gui, fonts and a platform: they run in
    // the drawing module.
    if (DrawModule::Draws(command, argc, argv))
        return DrawModule::Run(command, argc, argv);
    QCoreApplication application(argc, argv);
    CommandProcess::Translate(application);
    const QStringList words = QCoreApplication::arguments().mid(2);
    return CommandProcess::End(CommandProcess::Guarded([&command, &words] { return RunCommand(command, words); }));
}
