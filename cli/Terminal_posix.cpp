#include "Terminal.h"

#include <cstdlib>
#include <cstring>

#include <unistd.h>

bool Terminal::StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

bool Terminal::StdoutRedraws()
{
    const char* term = getenv("TERM");
    return isatty(STDOUT_FILENO) == 1 && term != nullptr && std::strcmp(term, "dumb") != 0;
}

void Terminal::WritesUtf8Unchanged()
{
    // Streams here pass bytes unchanged, and a terminal reads the locale's
    // encoding, UTF-8.
}
