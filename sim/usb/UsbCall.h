#pragma once

#include <cstdint>

// The libusb calls the stand-in sends its board process, by number. The
// rest (contexts, transfers' memory, names of errors, the bus number, the
// configuration's block) the stand-in answers itself.
enum class UsbCall : std::uint8_t {
    GetDeviceList = 1,
    UnrefDevices,  // the devices named in the bytes, one reference each
    RefDevice,
    GetDeviceAddress,
    GetPortNumbers,
    GetDeviceDescriptor,
    GetPacketSize,  // the configuration's endpoints' size, for the block the stand-in makes
    Open,
    Close,
    GetConfiguration,
    SetConfiguration,
    KernelDriverActive,
    DetachKernelDriver,
    ClaimInterface,
    ReleaseInterface,
    GetStringDescriptor,
    ControlTransfer,
    BulkOut,
    Submit,
    Cancel,
    Forget,  // a transfer freed
    Poll,    // one finished transfer, else when the next may finish
};
