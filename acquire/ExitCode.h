#pragma once

// What the program's exit status tells a script.
enum ExitCode : int {
    ExitDone = 0,
    ExitUsageOrFile = 2,  // bad command line, a file that cannot be read or written
    ExitNotFound = 3,     // no board, or one with another name
    ExitNoResponse = 4,   // the board did not answer its identification
    ExitBoardError = 5,   // filter, rate or start command refused
    ExitReadError = 6,    // the sample stream failed during the run
    ExitBoardGone = 7,    // log --reconnect=SECONDS: the board did not come back in time
    ExitStopped = 130,    // Ctrl-C
};
