#include "Terminal.h"

#include <io.h>
#include <stdio.h>

bool Terminal::StderrIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}
