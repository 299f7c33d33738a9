#pragma once

#include <QString>

// What the companion's process tests see differently on the two driver
// paths a test program may run it on: the drop-in D2XX library (the
// default), or libftdi on the libusb stand-in (built with
// KORVADEX_TEST_ON_LIBFTDI). The devices and their settings are the same.
class DriverPath {
public:
    static bool OnLibftdi();
    // Where the device listed `index`-th in KORVADEX_SIM_DEVICES sits:
    // "0x1011" (D2XX's location id) or "1-1.1" (bus and ports).
    static QString Location(int index);
    // Why a device open in another program cannot be opened, in the driver's words.
    static QString BusyReason();
    // The last place devices looks for a driver.
    static QString LastSearched();
};
