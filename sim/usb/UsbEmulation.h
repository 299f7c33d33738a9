#pragma once

// The control side of the libusb stand-in, for tests in the same process:
// which bridges and boards it presents, unplugging the first, and what state
// the host's requests left that one in. Exported by the stand-in library next to the
// libusb functions.

#include "BoardConfig.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

struct UsbEmulationSetup {
    BoardConfig Board;
    UsbBridgeConfig Usb;
    double Speed = 1.0;  // board seconds per wall-clock second
    // The FTDI devices on the bus, one port each, as KORVADEX_SIM_DEVICES lists
    // them; without a list, one board with the bridge's own strings.
    std::optional<std::vector<SimDevice>> Devices;
};

struct UsbEmulationState {
    bool Listed = false;             // on the bus: present and not unplugged
    bool KernelDriverBound = false;
    bool InterfaceClaimed = false;
    int OpenHandles = 0;
    int DeviceReferences = 0;        // taken by device lists and libftdi, not yet given back
    std::uint8_t LatencyTimer = 0;
    std::uint16_t BitMode = 0;
    std::uint16_t BaudDivisor = 0;
    std::uint16_t FlowControl = 0;
    unsigned ChipResets = 0;
    unsigned ReceivePurges = 0;
    unsigned TransmitPurges = 0;
    std::uint64_t BytesToHost = 0;
    std::uint64_t LostSamples = 0;   // the board's, for want of room in the chip
    bool Running = false;            // the board streams a run
};

#define KORVADEX_USB_CONTROL __attribute__((visibility("default")))

namespace UsbEmulation {

// New bridges and boards as set up, powered up afresh. Only while no device
// handle is open and no transfer is in flight.
KORVADEX_USB_CONTROL void Reset(const UsbEmulationSetup& setup);
// The device in the first port is pulled out now.
KORVADEX_USB_CONTROL void Unplug();
KORVADEX_USB_CONTROL UsbEmulationState State();
// When a transfer in flight may next finish, on the machine's monotonic
// clock; nothing while none is in flight. The board process's host waits
// for it.
KORVADEX_USB_CONTROL std::optional<std::chrono::steady_clock::time_point> NextCompletion();

}  // namespace UsbEmulation
