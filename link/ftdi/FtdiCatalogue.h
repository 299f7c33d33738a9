#pragma once

#include "FtdiUsb.h"
#include "UsbCatalogue.h"

#include <map>

// The FTDI devices on the bus through libftdi1 (ftdi_usb_find_all and
// ftdi_usb_get_strings) and libusb: serial number, product string, bridge
// type from bcdDevice as libftdi tells the chips apart, bus and port path,
// and whether it can be opened. To learn that, a device is opened and its
// interface claimed and released; nothing is sent to the chip, and a kernel
// driver bound to it is left alone: libftdi detaches it when the board is
// opened, and only an open that failed tells that it would not go.
class FtdiCatalogue final : public UsbCatalogue {
public:
    std::vector<UsbListing> List() override;
    std::unique_ptr<UsbPort> OpenNumber(int deviceNumber, FT_STATUS& status) override;
    std::unique_ptr<UsbPort> OpenSerial(const std::string& serial, FT_STATUS& status) override;

private:
    // Opens what `pick` chooses; a refusal is remembered for the next List.
    std::unique_ptr<UsbPort> OpenPicked(const FtdiUsb::Pick& pick, FT_STATUS& status);

    // The remembered refusal of the listed device, while it still holds.
    void RecallRefusal(UsbListing& listing, libusb_device* device);

    // Why the latest open of a device failed, by its location, until it
    // opens or a listing finds it changed.
    std::map<std::string, D2xxEntryNote> refused_;
};
