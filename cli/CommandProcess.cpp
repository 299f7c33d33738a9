#include "CommandProcess.h"

#include "Console.h"
#include "ExitCode.h"
#include "Hdf5Module.h"
#include "Terminal.h"
#include "UiLanguage.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <exception>

void CommandProcess::Translate(QCoreApplication& application)
{
    InstallTranslation(application, SystemUiLanguage(), {QString::fromLatin1(StatisticsTextContext)});
}

int CommandProcess::End(int code)
{
    if (Console::OutLost()) {
        Console::Err(QString::fromLatin1(Terminal::OutputLost));
        if (code == ExitDone)
            code = ExitUsageOrFile;
    }
    if (Hdf5Module::TeardownUnsafe()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

int CommandProcess::Guarded(const std::function<int()>& command)
{
    try {
        return command();
    } catch (const std::exception& failure) {
        Console::Err(QStringLiteral("korvadex-cli: %1").arg(QString::fromUtf8(failure.what())));
        return ExitUsageOrFile;
    }
}
