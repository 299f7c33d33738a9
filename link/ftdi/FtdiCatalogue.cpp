#include "FtdiCatalogue.h"

#include "FtdiUsb.h"

#include <ftdi.h>
#include <libusb.h>

#include <cstdint>
#include <memory>

namespace {

// The interface libftdi claims on a single-channel bridge.
constexpr int Interface = 0;

// The chip from bcdDevice, told apart as libftdi does when it opens one.
DWORD TypeFromRelease(std::uint16_t release, std::uint8_t serialIndex)
{
    switch (release) {
    case 0x0200:
        return serialIndex == 0 ? FT_DEVICE_BM : FT_DEVICE_AM;
    case 0x0400:
        return FT_DEVICE_BM;
    case 0x0500:
        return FT_DEVICE_2232C;
    case 0x0600:
        return FT_DEVICE_232R;
    case 0x0700:
        return FT_DEVICE_2232H;
    case 0x0800:
        return FT_DEVICE_4232H;
    case 0x0900:
        return FT_DEVICE_232H;
    case 0x1000:
        return FT_DEVICE_X_SERIES;
    default:
        return FT_DEVICE_UNKNOWN;
    }
}

// "1-2.3", and the same packed a digit each, 0x123.
void Locate(libusb_device* device, UsbListing& listing)
{
    const unsigned bus = libusb_get_bus_number(device);
    std::uint8_t ports[8] = {};
    const int depth = libusb_get_port_numbers(device, ports, static_cast<int>(sizeof ports));
    std::string text = std::to_string(bus);
    DWORD packed = bus;
    for (int i = 0; i < depth; ++i) {
        text += (i == 0 ? "-" : ".") + std::to_string(ports[i]);
        packed = (packed << 4) | (ports[i] & 0xFu);
    }
    listing.Note.Location = text;
    listing.LocId = packed;
}

D2xxEntryNote Refused(DeviceState state, const std::string& reason)
{
    D2xxEntryNote note;
    note.State = state;
    note.Reason = reason;
    return note;
}

// Whether the device can be opened, learnt by opening it and claiming and
// releasing its interface: no request reaches the chip. A kernel driver that
// holds the interface is not detached here; whether it would let go shows
// only when libftdi opens the device (`afterFailedOpen`).
D2xxEntryNote Probe(libusb_device* device, bool afterFailedOpen)
{
    libusb_device_handle* handle = nullptr;
    const int opened = libusb_open(device, &handle);
    if (opened == LIBUSB_ERROR_ACCESS)
        return Refused(DeviceState::NoPermission, "LIBUSB_ERROR_ACCESS: the device node is not open to this user");
    if (opened != LIBUSB_SUCCESS)
        return Refused(DeviceState::Unreadable, libusb_error_name(opened));
    const bool kernelDriver = libusb_kernel_driver_active(handle, Interface) == 1;
    const int claimed = libusb_claim_interface(handle, Interface);
    D2xxEntryNote note;
    if (claimed == LIBUSB_SUCCESS)
        libusb_release_interface(handle, Interface);
    else if (kernelDriver && afterFailedOpen)
        note = Refused(DeviceState::KernelDriver, "a kernel driver holds the interface and would not be detached");
    else if (claimed == LIBUSB_ERROR_BUSY && !kernelDriver)
        note = Refused(DeviceState::Busy, "LIBUSB_ERROR_BUSY: the interface is claimed by another program");
    else if (!kernelDriver)
        note = Refused(DeviceState::Unreadable, libusb_error_name(claimed));
    libusb_close(handle);
    return note;
}

// Whether a kernel driver is bound to the interface now; false too when the
// device cannot be opened to ask.
bool KernelDriverHolds(libusb_device* device)
{
    libusb_device_handle* handle = nullptr;
    if (libusb_open(device, &handle) != LIBUSB_SUCCESS)
        return false;
    const bool held = libusb_kernel_driver_active(handle, Interface) == 1;
    libusb_close(handle);
    return held;
}

// The serial number and product string; false when the device would not say.
bool ReadStrings(ftdi_context* context, libusb_device* device, UsbListing& listing)
{
    char description[FT_DescriptionSize] = {};
    char serial[FT_SerialNumberSize] = {};
    if (ftdi_usb_get_strings(context, device, nullptr, 0, description, sizeof description, serial, sizeof serial) != 0)
        return false;
    listing.Description = description;
    listing.Serial = serial;
    return true;
}

UsbListing Describe(ftdi_context* context, libusb_device* device)
{
    UsbListing listing;
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) == LIBUSB_SUCCESS) {
        listing.Id = (DWORD(descriptor.idVendor) << 16) | descriptor.idProduct;
        listing.Type = TypeFromRelease(descriptor.bcdDevice, descriptor.iSerialNumber);
    }
    Locate(device, listing);
    const std::string location = listing.Note.Location;
    listing.Note = Probe(device, false);
    listing.Note.Location = location;
    // A device this user cannot open cannot tell its strings either; one
    // claimed elsewhere still can.
    if (listing.Note.State != DeviceState::NoPermission && !ReadStrings(context, device, listing)
        && listing.Note.State == DeviceState::Usable) {
        listing.Note.State = DeviceState::Unreadable;
        listing.Note.Reason = ftdi_get_error_string(context);
    }
    return listing;
}

struct FtdiDeleter {
    void operator()(ftdi_context* context) const { ftdi_free(context); }
};

} // namespace

std::vector<UsbListing> FtdiCatalogue::List()
{
    std::vector<UsbListing> listed;
    const std::unique_ptr<ftdi_context, FtdiDeleter> context(ftdi_new());
    if (!context)
        return listed;
    ftdi_device_list* devices = nullptr;
    if (ftdi_usb_find_all(context.get(), &devices, 0, 0) > 0) {   // 0, 0: FTDI's standard ids
        for (ftdi_device_list* entry = devices; entry != nullptr; entry = entry->next) {
            UsbListing listing = Describe(context.get(), entry->dev);
            RecallRefusal(listing, entry->dev);
            listed.push_back(listing);
        }
    }
    ftdi_list_free(&devices);
    return listed;
}

// A probe cannot tell a kernel driver that would not be detached from one
// that would, so that refusal stands while the driver still holds the
// interface. Every other state a probe sees as it is now: a refusal of a
// moment ago (the cable pulled during an open, another program holding the
// board, a driver unloaded since) is forgotten, so that the board is tried
// again.
void FtdiCatalogue::RecallRefusal(UsbListing& listing, libusb_device* device)
{
    const auto refused = refused_.find(listing.Note.Location);
    if (refused == refused_.end())
        return;
    if (listing.Note.State == DeviceState::Usable && refused->second.State == DeviceState::KernelDriver
        && KernelDriverHolds(device)) {
        listing.Note.State = refused->second.State;
        listing.Note.Reason = refused->second.Reason;
        return;
    }
    refused_.erase(refused);
}

std::unique_ptr<UsbPort> FtdiCatalogue::OpenNumber(int deviceNumber, FT_STATUS& status)
{
    return OpenPicked(
        [deviceNumber](ftdi_context*, ftdi_device_list* devices) -> libusb_device* {
            ftdi_device_list* entry = devices;
            for (int i = 0; entry != nullptr && i < deviceNumber; ++i)
                entry = entry->next;
            return deviceNumber >= 0 && entry != nullptr ? entry->dev : nullptr;
        },
        status);
}

std::unique_ptr<UsbPort> FtdiCatalogue::OpenSerial(const std::string& serial, FT_STATUS& status)
{
    return OpenPicked(
        [&serial](ftdi_context* context, ftdi_device_list* devices) -> libusb_device* {
            for (ftdi_device_list* entry = devices; entry != nullptr; entry = entry->next) {
                UsbListing listing;
                if (ReadStrings(context, entry->dev, listing) && listing.Serial == serial)
                    return entry->dev;
            }
            return nullptr;
        },
        status);
}

std::unique_ptr<UsbPort> FtdiCatalogue::OpenPicked(const FtdiUsb::Pick& pick, FT_STATUS& status)
{
    std::string location;
    const auto located = [&](ftdi_context* context, ftdi_device_list* devices) {
        libusb_device* device = pick(context, devices);
        if (device != nullptr) {
            UsbListing listing;
            Locate(device, listing);
            location = listing.Note.Location;
        }
        return device;
    };
    const auto refused = [&](libusb_device* device) {
        const D2xxEntryNote note = Probe(device, true);
        if (note.State != DeviceState::Usable)
            refused_[location] = note;
    };
    std::unique_ptr<UsbPort> port = FtdiUsb::Open(located, refused, status);
    if (port)
        refused_.erase(location);
    return port;
}
