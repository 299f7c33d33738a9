#include "CommandProcess.h"
#include "DrawModule.h"
#include "PlotCommand.h"
#include "ProgramModule.h"
#include "ReportCommand.h"
#include "ResultsCommand.h"
#include "ResultsReport.h"
#include "SystemFonts.h"

#include <QGuiApplication>

// The module korvadex-draw: plot, report and results --report, with Qt Gui.

namespace {

// Without a display it draws off-screen, unless the caller chose another
// platform.
int Run(const QString& command, int& argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    SystemFonts::ShowToOffscreenPlatform();
    QGuiApplication application(argc, argv);
    CommandProcess::Translate(application);
    const QStringList words = QCoreApplication::arguments().mid(2);
    return CommandProcess::End(CommandProcess::Guarded([&command, &words] {
        if (command == QLatin1String("plot"))
            return PlotCommand::Run(words);
        if (command == QLatin1String("results"))
            return ResultsCommand::Run(words, ResultsReport::Write);
        return ReportCommand::Run(words);
    }));
}

const DrawModuleEntries entries{Run};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)
