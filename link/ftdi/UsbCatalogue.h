#pragma once

#include "D2xx.h"
#include "UsbPort.h"

#include <memory>
#include <string>
#include <vector>

// One FTDI device on the bus, as the libftdi driver lists it.
struct UsbListing {
    std::string Serial;
    std::string Description;  // the USB product string
    DWORD Type = FT_DEVICE_UNKNOWN;
    DWORD Id = 0;             // vendor id in the high half, product id in the low
    DWORD LocId = 0;          // the bus and port numbers packed a digit each, 0x112 for "1-1.2"
    D2xxEntryNote Note;       // the location as text, the state and its reason
};

// The seam between the libftdi driver and the USB bus: the devices there
// now, and opening one by its place in the list or by its serial number.
// libftdi stands behind it on a real bus.
class UsbCatalogue {
public:
    virtual ~UsbCatalogue() = default;

    virtual std::vector<UsbListing> List() = 0;
    // The deviceNumber-th device, as FtdiUsb::Open finds it.
    virtual std::unique_ptr<UsbPort> OpenNumber(int deviceNumber, FT_STATUS& status) = 0;
    // The device with that serial number, or null and, in status,
    // FT_DEVICE_NOT_FOUND (not there) or FT_DEVICE_NOT_OPENED (there, but it
    // could not be opened; the next List says why).
    virtual std::unique_ptr<UsbPort> OpenSerial(const std::string& serial, FT_STATUS& status) = 0;
};
