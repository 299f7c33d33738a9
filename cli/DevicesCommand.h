#pragma once

#include <QStringList>

// korvadex-cli devices [--json] [--identify] [--board SERIAL]: the FTDI
// devices the driver sees, one per line, read from the driver's list alone;
// with --identify each usable one (or the chosen one) is also asked "?",
// "U?" and "V?". Exit 1 when there is no device, saying where the driver was
// looked for and what was found there.
class DevicesCommand {
public:
    static int Run(const QStringList& words);
};
