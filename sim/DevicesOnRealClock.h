#pragma once

#include "EnvironmentSettings.h"
#include "RealClock.h"
#include "VirtualDevices.h"

// The virtual devices of one computer as the process's KORVADEX_SIM_*
// variables describe them, running on the machine's clock at the speed
// asked: what the drop-in library answers from, in its own process or in
// the board process. Every variable not understood is named on standard
// error on the way.
class DevicesOnRealClock {
public:
    DevicesOnRealClock();

    VirtualDevices& Devices() { return devices_; }

private:
    explicit DevicesOnRealClock(const SimSettings& settings);

    RealClock clock_;
    VirtualDevices devices_;
};
