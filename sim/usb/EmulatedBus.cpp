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
    // Without a device list the bus holds the one board as it always did,
    // with its bridge's own strings.
    if (std::getenv("KORVADEX_SIM_DEVICES") != nullptr)
        setup.Devices = settings.Devices;
    return setup;
}

// A board's bridge: the configured chip, its cable pulled after the bytes the
// USB setting or the board's own cable setting names.
UsbBridgeConfig BoardChip(const UsbEmulationSetup& setup)
{
    UsbBridgeConfig chip = setup.Usb;
    if (!chip.Faults.RemoveAfterBytes)
        chip.Faults.RemoveAfterBytes = setup.Board.Faults.CablePullAfterBytes;
    return chip;
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
    ports_.clear();
    made_.clear();
    clock_ = std::make_unique<RealClock>(setup.Speed);
    const BoardFaults& boardFaults = setup.Board.Faults;
    if (!setup.Devices) {
        Port port{BoardChip(setup), setup.Board, setup.Usb.Faults.Absent, boardFaults.ReplugAfter,
                  boardFaults.ReplugRepeats};
        ports_.push_back(port);
    } else {
        for (const SimDevice& device : *setup.Devices) {
            Port port;
            port.Chip.Serial = device.Serial;
            switch (device.Type) {
            case SimDevice::Kind::Board:
                port = {BoardChip(setup), BoardOfDevice(setup.Board, device),
                        setup.Usb.Faults.Absent || boardFaults.Absent, boardFaults.ReplugAfter,
                        boardFaults.ReplugRepeats};
                port.Chip.Serial = device.Serial;
                port.Chip.Product = "KORVADEX Board " + device.Serial;
                break;
            case SimDevice::Kind::SilentAdapter:
                port.Chip.ProductId = 0x6015;
                port.Chip.Product = "USB-Serial Cable";
                port.Board.Faults.Silent = true;
                break;
            case SimDevice::Kind::EchoAdapter:
                port.Chip.Product = "USB-Serial Loopback";
                port.Chip.Loopback = true;
                break;
            }
            UsbBridgeFaults& faults = port.Chip.Faults;
            faults.Busy = faults.Busy || device.Busy;
            faults.AccessDenied = faults.AccessDenied || device.NoAccess;
            faults.KernelDriverStays = faults.KernelDriverStays || device.KernelDriver;
            ports_.push_back(port);
        }
    }
    for (std::size_t i = 0; i < ports_.size(); ++i)
        PlugIn(ports_[i], static_cast<std::uint8_t>(i + 1));
    deviceReferences = 0;
    changed_.notify_all();
}

void EmulatedBus::PlugIn(Port& port, std::uint8_t number)
{
    made_.push_back(std::make_unique<EmulatedDevice>(port.Chip, port.Board, number, nextAddress_++));
    port.Current = made_.back().get();
}

void EmulatedBus::Advance()
{
    const BoardTime now = clock_->Now();
    for (std::size_t i = 0; i < ports_.size(); ++i) {
        Port& port = ports_[i];
        FtdiBridgeChip& chip = port.Current->Chip();
        chip.Advance(now);
        if (!chip.Removed() || port.Replugged || !port.ReplugAfter || now < chip.RemovedAt() + *port.ReplugAfter)
            continue;
        // A good cable goes in: the board powers up afresh and stays, unless
        // the pulls repeat.
        if (!port.ReplugRepeats) {
            port.Replugged = true;
            port.Chip.Faults.RemoveAfterBytes.reset();
        }
        PlugIn(port, static_cast<std::uint8_t>(i + 1));
        changed_.notify_all();
    }
}

BoardTime EmulatedBus::Now()
{
    return clock_->Now();
}

std::vector<EmulatedDevice*> EmulatedBus::Listed() const
{
    std::vector<EmulatedDevice*> listed;
    for (const Port& port : ports_) {
        if (!port.Absent && !port.Current->Chip().Removed())
            listed.push_back(port.Current);
    }
    return listed;
}

EmulatedDevice* EmulatedBus::First() const
{
    return ports_.empty() ? nullptr : ports_.front().Current;
}

std::optional<std::chrono::steady_clock::time_point> EmulatedBus::NextCompletion() const
{
    std::optional<std::chrono::steady_clock::time_point> first;
    for (const Port& port : ports_) {
        if (const std::optional<BoardTime> next = port.Current->Chip().NextCompletion())
            first = std::min(first.value_or(std::chrono::steady_clock::time_point::max()), clock_->WallTime(*next));
    }
    return first;
}

void EmulatedBus::Wait(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline)
{
    changed_.wait_until(lock, std::min(deadline, NextCompletion().value_or(deadline)));
}

void EmulatedBus::Notify()
{
    changed_.notify_all();
}
