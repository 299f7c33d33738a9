#include "Terminal.h"

#include <unistd.h>

bool Terminal::StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void Terminal::ReadsUtf8()
{
    // A terminal here reads the locale's encoding, UTF-8.
}
