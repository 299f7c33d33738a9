#include "Usage.h"

#include "Console.h"
#include "ExitCode.h"
#include "Synopsis.h"

QString Usage::Text()
{
    return QString::fromUtf8(Synopsis::Text());
}

QString Usage::Version()
{
    return QString::fromUtf8(Synopsis::Version());
}

const QString Usage::HelpOption = QStringLiteral("--help");

int Usage::Help(const QString& text)
{
    Console::Out(text);
    return ExitDone;
}

int Usage::Fail(const QString& error)
{
    Console::Err(QStringLiteral("korvadex-cli: ") + error);
    Console::Err(Text());
    return ExitUsageOrFile;
}
