#pragma once

#include "Ad7175.h"
#include "D2xx.h"
#include "UsbEmulation.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The emulated bridge with the counter board behind it, as the given
// product (0x6001 or 0x6014).
UsbEmulationSetup CounterSetup(std::uint16_t product = 0x6001);

// The project's libftdi driver, as the loader makes it, and the board class
// on top, on a freshly powered-up emulated bridge.
class UsbBoardRig {
public:
    explicit UsbBoardRig(const UsbEmulationSetup& setup);
    ~UsbBoardRig();

    UsbBoardRig(const UsbBoardRig&) = delete;
    UsbBoardRig& operator=(const UsbBoardRig&) = delete;

    TADC& Adc();
    // OpenBoard, CheckBoard, GetBoardName and GetVersion, as the window connects.
    bool Connect();
    std::string Name();
    std::string Version();

    struct Run {
        std::vector<std::int32_t> Codes;  // CH0 and CH1 interleaved in mode 2
        bool ReadFailed = false;
    };
    // Reads a run in chunks as the window's idle loop does, until the count
    // is reached, a read fails, or nothing arrives for `quiet`.
    Run ReadRun(int mode, std::int32_t count, std::int32_t chunk,
                std::chrono::milliseconds quiet = std::chrono::seconds(10));
    // Starts a run with the filter and rate set first; false if any step fails.
    bool Start(int rateIndex, int mode, std::int32_t count);

private:
    std::unique_ptr<D2xx> driver_;
    TADC adc_;
};
