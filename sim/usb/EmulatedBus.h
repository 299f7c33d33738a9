#pragma once

#include "EmulatedDevice.h"
#include "RealClock.h"
#include "UsbEmulation.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// The one USB bus of the process with its emulated FTDI devices, the boards
// behind them and the boards' clock. Every libusb call of the stand-in takes
// Lock(), brings the devices up to the present with Advance() and then works
// on a device. Waits release the lock, so one thread can wait for a packet
// while another writes.
class EmulatedBus {
public:
    // Made on first use from the KORVADEX_SIM_* variables of the process.
    static EmulatedBus& Instance();

    std::unique_lock<std::mutex> Lock();

    // The rest with the lock held.
    void Reset(const UsbEmulationSetup& setup);
    // Runs every device up to now, and plugs a pulled board back in once its
    // time has come.
    void Advance();
    BoardTime Now();
    // The devices on the bus now, in port order.
    std::vector<EmulatedDevice*> Listed() const;
    // The device in the first port as plugged in last, null when there is none.
    EmulatedDevice* First() const;

    // When a device may next complete a request; nothing when none waits.
    std::optional<std::chrono::steady_clock::time_point> NextCompletion() const;
    // Waits until deadline, until a device completes a request, or until
    // another thread changed something (Notify), whichever comes first.
    void Wait(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline);
    void Notify();

    // Taken by device lists, handles and libftdi, not yet given back.
    int deviceReferences = 0;

private:
    // One port of the hub and what is to be plugged into it.
    struct Port {
        UsbBridgeConfig Chip;
        BoardConfig Board;
        bool Absent = false;
        std::optional<std::chrono::nanoseconds> ReplugAfter;
        bool ReplugRepeats = false;
        EmulatedDevice* Current = nullptr;
        bool Replugged = false;
    };

    explicit EmulatedBus(const UsbEmulationSetup& setup);
    void PlugIn(Port& port, std::uint8_t number);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::unique_ptr<RealClock> clock_;
    std::vector<Port> ports_;
    // Every device ever plugged in: a handle may outlive its device's time on the bus.
    std::vector<std::unique_ptr<EmulatedDevice>> made_;
    std::uint8_t nextAddress_ = 5;
};
