#pragma once

#include "DeviceList.h"
#include "ExitCode.h"

#include <QString>

#include <vector>

class ChosenD2xx;

// Which FTDI device a program uses: the one whose serial number is chosen,
// else the only one attached. With several attached and none chosen it does
// not guess. Shared by the companion (--board) and Python (serial=), which
// name the choice in their own words.
class DeviceChoice {
public:
    // How the caller's user makes the choice, for the messages.
    struct Wording {
        QString Option;   // "--board", "serial="
        QString Example;  // "--board SERIAL"
    };

    ExitCode Code = ExitDone;
    QString Message;  // why not, without the program's name; empty with ExitDone

    // Chooses on `chosen`: ExitDone; ExitNotFound when the serial is not
    // attached or the driver cannot open by serial number; ExitUsageOrFile
    // when several devices are attached and none is chosen.
    static DeviceChoice Apply(ChosenD2xx& chosen, const QString& serial, const Wording& wording);

    // No device has that serial number; which are attached.
    static DeviceChoice NotAttached(const QString& serial, const std::vector<FtdiDevice>& attached);

    // The environment variable that chooses when the caller does not.
    static const char* const Variable;  // "KORVADEX_BOARD"
};
