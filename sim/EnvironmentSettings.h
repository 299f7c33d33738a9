#pragma once

#include "BoardConfig.h"

#include <functional>
#include <string>
#include <vector>

// How the drop-in driver library is told what board to pretend: the
// KORVADEX_SIM_* variables of its process environment.
struct SimSettings {
    BoardConfig Board;  // every board of Devices
    std::vector<SimDevice> Devices = DefaultSimDevices();
    UsbBridgeConfig Usb;  // read by the libusb stand-in only
    double Speed = 1.0;  // board seconds per wall-clock second
    // One line for every variable that was set but not understood; that
    // variable keeps its default.
    std::vector<std::string> Warnings;
};

// Returns the variable's value, or null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

SimSettings SettingsFromEnvironment(const EnvironmentLookup& lookup);
