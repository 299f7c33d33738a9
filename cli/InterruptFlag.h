#pragma once

// Ctrl-C as a request: once installed, the first SIGINT only raises the
// flag, which the run polls and answers like the window's stop button. A
// second Ctrl-C ends the program the usual way, should it ever not listen.
class InterruptFlag {
public:
    static void Install();
    static bool Raised();
    // From now on the end of standard input raises the flag too: a program
    // that runs the companion stops it by closing its input, on every
    // platform, and a program that dies stops it the same way.
    static void RaiseAtInputEnd();
};
