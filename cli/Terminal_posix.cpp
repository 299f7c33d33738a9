#include "Terminal.h"

#include <unistd.h>

bool Terminal::StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}
