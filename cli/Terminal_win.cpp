#include "Terminal.h"

#include <io.h>
#include <stdio.h>
#include <stdlib.h>

#include <windows.h>

namespace {

UINT consoleCodePage = 0;

void GiveBackCodePage()
{
    SetConsoleOutputCP(consoleCodePage);
}

} // namespace

bool Terminal::StderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

void Terminal::ReadsUtf8()
{
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage == 0 || consoleCodePage == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8))
        return;
    atexit(GiveBackCodePage);
}
