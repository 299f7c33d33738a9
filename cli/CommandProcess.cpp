#include "CommandProcess.h"

#include "Hdf5Module.h"
#include "UiLanguage.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

void CommandProcess::Translate(QCoreApplication& application)
{
    InstallTranslation(application, SystemUiLanguage(), {QString::fromLatin1(StatisticsTextContext)});
}

int CommandProcess::End(int code)
{
    if (Hdf5Module::TeardownUnsafe()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
