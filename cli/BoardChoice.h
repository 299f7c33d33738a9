#pragma once

#include "DeviceList.h"
#include "ExitCode.h"

#include <QString>

class ChosenD2xx;
class CommandLine;

// Which FTDI device the board commands use: the one whose serial number is
// given with --board or KORVADEX_BOARD, else the only one attached. With
// several attached and none chosen the program does not guess.
class BoardChoice {
public:
    static const QString Option;  // "--board"

    // --board, else KORVADEX_BOARD, else empty (no choice).
    static QString Serial(const CommandLine& line);

    // Chooses on `chosen`, telling on standard error why it cannot:
    // ExitDone; ExitNotFound when the serial is not attached or the driver
    // cannot open by serial number; ExitUsageOrFile when several devices are
    // attached and none is chosen.
    static ExitCode Apply(ChosenD2xx& chosen, const QString& serial);

    // Says that no device has that serial number, and which are attached.
    static ExitCode NotAttached(const QString& serial, const std::vector<FtdiDevice>& attached);
};
