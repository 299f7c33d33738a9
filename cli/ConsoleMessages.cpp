#include "ConsoleMessages.h"

#include "Console.h"

void ConsoleMessages::ShowError(const QString&, const QString& text)
{
    Console::Err(subject_.isEmpty() ? text : subject_ + QStringLiteral(": ") + text);
}

void ConsoleMessages::Tell(const QString& line)
{
    Console::Err(line);
}
