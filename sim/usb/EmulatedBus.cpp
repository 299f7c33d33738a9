#include "EmulatedBus.h"

#include "EnvironmentSettings.h"

#include <cstdio>
#include <cstdlib>

namespace {

UsbEmulationSetup SetupFromEnvironment()
{
    const SimSettings settings = SettingsFromEnvironment([](const char* name) { return std::getenv(name); });
    for (const std::string& warning : settings.Warnings)
        std::fprintf(stderr, "libusb (emulated FTDI bridge): %s\n", warning.c_str());
    UsbEmulationSetup setup;
    setup.Board = settings.Board;
    setup.Usb = settings.Usb;
    setup.Speed = settings.Speed;
    return setup;
}

}  // namespace

EmulatedBus& EmulatedBus::Instance()
{
    static EmulatedBus bus(SetupFromEnvironment());
    return bus;
}

EmulatedBus::EmulatedBus(const UsbEmulationSetup& setup)
{
    Reset(setup);
}

std::unique_lock<std::mutex> EmulatedBus::Lock()
{
    return std::unique_lock<std::mutex>(mutex_);
}

void EmulatedBus::Reset(const UsbEmulationSetup& setup)
{
    setup_ = setup;
    chip_.reset();
    clock_ = std::make_unique<RealClock>(setup.Speed);
    firmware_ = std::make_unique<BoardFirmware>(setup.Board);
    chip_ = std::make_unique<FtdiBridgeChip>(setup.Usb, *firmware_);
    const UsbBridgeFaults& faults = setup.Usb.Faults;
    kernelDriverBound = faults.KernelDriver;
    accessDenied = faults.AccessDenied;
    busyElsewhere = faults.Busy;
    interfaceClaimed = false;
    openHandles = 0;
    deviceReferences = 0;
    changed_.notify_all();
}

void EmulatedBus::Advance()
{
    chip_->Advance(clock_->Now());
}

BoardTime EmulatedBus::Now()
{
    return clock_->Now();
}

FtdiBridgeChip& EmulatedBus::Chip()
{
    return *chip_;
}

const BoardFirmware& EmulatedBus::Firmware() const
{
    return *firmware_;
}

bool EmulatedBus::Listed() const
{
    return !setup_.Usb.Faults.Absent && !chip_->Removed();
}

void EmulatedBus::Wait(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline)
{
    if (const std::optional<BoardTime> next = chip_->NextCompletion())
        deadline = std::min(deadline, clock_->WallTime(*next));
    changed_.wait_until(lock, deadline);
}

void EmulatedBus::Notify()
{
    changed_.notify_all();
}
