#include "EmulatedDevice.h"

EmulatedDevice::EmulatedDevice(const UsbBridgeConfig& chip, const BoardConfig& board, std::uint8_t port,
                               std::uint8_t address)
    : firmware_(std::make_unique<BoardFirmware>(board))
    , chip_(std::make_unique<FtdiBridgeChip>(chip, *firmware_))
    , port_(port)
    , address_(address)
{
    const UsbBridgeFaults& faults = chip.Faults;
    kernelDriverBound = faults.KernelDriver || faults.KernelDriverStays;
    kernelDriverStays = faults.KernelDriverStays;
    accessDenied = faults.AccessDenied;
    busyElsewhere = faults.Busy;
}

FtdiBridgeChip& EmulatedDevice::Chip()
{
    return *chip_;
}

const FtdiBridgeChip& EmulatedDevice::Chip() const
{
    return *chip_;
}

const BoardFirmware& EmulatedDevice::Firmware() const
{
    return *firmware_;
}

std::uint8_t EmulatedDevice::Port() const
{
    return port_;
}

std::uint8_t EmulatedDevice::Address() const
{
    return address_;
}
