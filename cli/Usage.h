#pragma once

#include <QString>

// The program's synopsis, and the way every command rejects its command line.
class Usage {
public:
    static QString Text();
    // The program's name and the project's version, "korvadex-cli 2.0.0".
    static QString Version();
    // Prints "korvadex-cli: <error>" and the synopsis on standard error and
    // gives the usage exit code.
    static int Fail(const QString& error);

    // "--help" after a command: its own text on standard output, exit 0.
    static const QString HelpOption;
    static int Help(const QString& text);
};
