#pragma once

#include "BoardFirmware.h"
#include "FtdiBridgeChip.h"
#include "RealClock.h"
#include "UsbEmulation.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

// The one USB bus of the process that holds the emulated bridge, with the
// board behind it and the board's clock. Every libusb call of the stand-in
// takes Lock(), brings the board up to the present with Advance() and then
// works on the chip. Waits release the lock, so one thread can wait for a
// packet while another writes.
class EmulatedBus {
public:
    // Made on first use from the KORVADEX_SIM_* variables of the process.
    static EmulatedBus& Instance();

    std::unique_lock<std::mutex> Lock();

    // The rest with the lock held.
    void Reset(const UsbEmulationSetup& setup);
    void Advance();
    BoardTime Now();
    FtdiBridgeChip& Chip();
    const BoardFirmware& Firmware() const;
    bool Listed() const;

    // Waits until deadline, until the chip completes a request, or until
    // another thread changed something (Notify), whichever comes first.
    void Wait(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline);
    void Notify();

    // The device's USB state, kept by the libusb glue.
    bool kernelDriverBound = false;
    bool interfaceClaimed = false;
    int openHandles = 0;
    int deviceReferences = 0;
    bool accessDenied = false;
    bool busyElsewhere = false;

private:
    explicit EmulatedBus(const UsbEmulationSetup& setup);

    std::mutex mutex_;
    std::condition_variable changed_;
    UsbEmulationSetup setup_;
    std::unique_ptr<RealClock> clock_;
    std::unique_ptr<BoardFirmware> firmware_;
    std::unique_ptr<FtdiBridgeChip> chip_;
};
