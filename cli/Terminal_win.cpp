#include "Terminal.h"

#include <fcntl.h>
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

bool Terminal::StdoutRedraws()
{
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return _isatty(_fileno(stdout)) != 0 && GetConsoleMode(out, &mode)
           && SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

void Terminal::WritesUtf8Unchanged()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage == 0 || consoleCodePage == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8))
        return;
    atexit(GiveBackCodePage);
}

void Terminal::WaitForInputEnd()
{
    char buffer[256];
    while (_read(0, buffer, sizeof buffer) > 0) {
    }
}
