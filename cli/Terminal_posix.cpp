#include "Terminal.h"

#include <cerrno>
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

void Terminal::WaitForInputEnd()
{
    char buffer[256];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EINTR))
            return;
    }
}

void Terminal::WritesUtf8Unchanged()
{
    // Streams here pass bytes unchanged, and a terminal reads the locale's
    // encoding, UTF-8.
}
