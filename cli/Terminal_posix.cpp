#include "Terminal.h"

#include <unistd.h>

bool Terminal::StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void Terminal::WritesUtf8Unchanged()
{
    // Streams here pass bytes unchanged, and a terminal reads the locale's
    // encoding, UTF-8.
}
