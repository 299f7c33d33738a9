#pragma once

// The terminal the companion writes to.
class Terminal {
public:
    // Whether standard error is a terminal, so progress may be drawn on it.
    static bool StderrIsTerminal();

    // Every text is written as UTF-8. A Linux terminal reads it so already;
    // a Windows console shows its own code page (932 on a Japanese system)
    // unless told otherwise, so it is switched to UTF-8 for as long as the
    // program runs and given back its own code page at the end.
    static void ReadsUtf8();
};
