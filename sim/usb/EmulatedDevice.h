#pragma once

#include "BoardConfig.h"
#include "BoardFirmware.h"
#include "FtdiBridgeChip.h"

#include <cstdint>
#include <memory>

// One FTDI device plugged into the emulated bus: its bridge chip, what sits
// behind it (a board's firmware, a silent one for an adapter with nothing
// answering, or nothing but the chip's own loopback), where it is plugged in
// and the USB state the host's calls leave on it. A replugged device is a
// new one, as on a real bus: handles to the old one fail with "no device".
class EmulatedDevice {
public:
    // The chip's faults and strings are set; `board` is the firmware's
    // configuration (ignored behind a loopback).
    EmulatedDevice(const UsbBridgeConfig& chip, const BoardConfig& board, std::uint8_t port, std::uint8_t address);

    FtdiBridgeChip& Chip();
    const FtdiBridgeChip& Chip() const;
    const BoardFirmware& Firmware() const;
    std::uint8_t Port() const;     // on the hub of bus 1, port 1: "1-1.<port>"
    std::uint8_t Address() const;  // new at every plug-in

    // The device's USB state, kept by the libusb glue.
    bool kernelDriverBound = false;
    bool kernelDriverStays = false;
    bool interfaceClaimed = false;
    bool accessDenied = false;
    bool busyElsewhere = false;
    int openHandles = 0;

private:
    std::unique_ptr<BoardFirmware> firmware_;
    std::unique_ptr<FtdiBridgeChip> chip_;
    std::uint8_t port_;
    std::uint8_t address_;
};
