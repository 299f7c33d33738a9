#pragma once

#include <QString>

class ChosenD2xx;

// Why a board could not be opened or was not a KORVADEX Board, in one short
// line that ends with its fix. Asked after the fact: it lists the devices and
// looks for a driver library, and sends nothing to any device.
class BoardProblem {
public:
    // `serial` is the board chosen, empty when none; `chooseWith` how the
    // user chooses one ("--board SERIAL", "serial=SERIAL").
    static QString Reason(ChosenD2xx& chosen, const QString& serial, const QString& chooseWith);

    // The udev rule the Debian package installs, which lets the user at the
    // seat open the board.
    static const char* const UdevRule;  // "60-korvadex.rules"

private:
    // "no FTDI driver: libftd2xx.so not found (…)" when no driver library
    // loads at all, else empty.
    static QString MissingDriver();
};
