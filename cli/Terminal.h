#pragma once

// Whether standard error is a terminal, so progress may be drawn on it.
class Terminal {
public:
    static bool StderrIsTerminal();
};
