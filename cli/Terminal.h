#pragma once

// The terminal the companion writes to.
class Terminal {
public:
    // Whether standard error is a terminal, so progress may be drawn on it.
    static bool StderrIsTerminal();
    // Whether standard output is a terminal that moves its cursor on the
    // escape sequences ESC [ n A and ESC [ 2 K, so a table may be redrawn in
    // place (a Windows console is asked to).
    static bool StdoutRedraws();

    // Every text goes out as the same UTF-8 bytes on every platform, lines
    // ended with LF, so that `export > run.csv` holds what `export -o` and
    // the window write. On Windows standard output and error leave text mode
    // (which would end lines with CR LF), and a console, which would show its
    // own code page (932 on a Japanese system), reads UTF-8 for as long as
    // the program runs and gets its own code page back at the end.
    static void WritesUtf8Unchanged();

    // Blocks until standard input ends (its writer closed it, or went) and
    // returns. Reads below the C library's streams, so that a program
    // ending while it waits does not wait for it.
    static void WaitForInputEnd();

    // What the companion says, on standard error, when standard output did
    // not take all it was given (a full disk, a closed file): the command
    // then fails, since what it printed is not whole.
    static constexpr const char* OutputLost = "korvadex-cli: standard output could not be written";
};
