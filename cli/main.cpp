#include "Console.h"
#include "DevicesCommand.h"
#include "ExitCode.h"
#include "ExportCommand.h"
#include "Hdf5Handle.h"
#include "InfoCommand.h"
#include "LogCommand.h"
#include "MeasureCommand.h"
#include "PlotCommand.h"
#include "ReportCommand.h"
#include "SweepCommand.h"
#include "SystemFonts.h"
#include "Terminal.h"
#include "Usage.h"
#include "UiLanguage.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Only plot and report need fonts, and with them a platform: without a display it
// draws off-screen, unless the caller chose another platform.
std::unique_ptr<QCoreApplication> MakeApplication(bool drawing, int& argc, char** argv)
{
    if (!drawing)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SystemFonts::ShowToOffscreenPlatform();
    return std::make_unique<QGuiApplication>(argc, argv);
}

int RunCommand(const QString& command, const QStringList& words)
{
    if (command == QLatin1String("info"))
        return InfoCommand::Run(words);
    if (command == QLatin1String("plot"))
        return PlotCommand::Run(words);
    if (command == QLatin1String("measure"))
        return MeasureCommand::Run(words);
    if (command == QLatin1String("sweep"))
        return SweepCommand::Run(words);
    if (command == QLatin1String("export"))
        return ExportCommand::Run(words);
    if (command == QLatin1String("report"))
        return ReportCommand::Run(words);
    if (command == QLatin1String("log"))
        return LogCommand::Run(words);
    if (command == QLatin1String("devices"))
        return DevicesCommand::Run(words);
    if (command == QLatin1String("--help") || command == QLatin1String("help")) {
        Console::Out(Usage::Text());
        return ExitDone;
    }
    if (command == QLatin1String("--version")) {
        Console::Out(Usage::Version());
        return ExitDone;
    }
    return Usage::Fail(command.isEmpty() ? QStringLiteral("no command") : QStringLiteral("unknown command %1").arg(command));
}

} // namespace

int main(int argc, char** argv)
{
    Terminal::WritesUtf8Unchanged();
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const auto application = MakeApplication(command == QLatin1String("plot") || command == QLatin1String("report"), argc, argv);
    // Messages in the operator's language; the statistics lines of info and
    // measure are data, the same in every language.
    InstallTranslation(*application, SystemUiLanguage(), {QString::fromLatin1(StatisticsTextContext)});
    const int code = RunCommand(command, QCoreApplication::arguments().mid(2));
    if (Hdf5Handle::TeardownUnsafe()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
