// A stand-in for FTDI's D2XX library, built as a shared library so the loader
// can be tested end to end: it exports the seven functions by name (on
// Windows by ordinal too, FakeVendorLibrary.def), accepts
// only the arguments the link is meant to pass, and loops every written byte
// back to the receive queue. Its one device is listed, and opened by serial
// number, through the three functions found by name. Built once more without
// FT_SetUSBParameters, and once without the device list.

#include "D2xx.h"

#include <cstring>
#include <string>

// What the device list says of the one device.
#define FAKE_VENDOR_SERIAL "FAKE0001"
#define FAKE_VENDOR_DESCRIPTION "Loopback FIFO"

namespace {

int device;
bool opened = false;
std::string loop;

bool IsOpenHandle(FT_HANDLE handle)
{
    return opened && handle == &device;
}

} // namespace

extern "C" {

FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    if (deviceNumber != 0 || opened) {
        return FT_DEVICE_NOT_FOUND;
    }
    opened = true;
    loop.clear();
    *handle = &device;
    return FT_OK;
}

FT_STATUS FT_Close(FT_HANDLE handle)
{
    if (!IsOpenHandle(handle)) {
        return FT_INVALID_HANDLE;
    }
    opened = false;
    return FT_OK;
}

FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    if (!IsOpenHandle(handle) || bytesToRead > loop.size()) {
        return FT_INVALID_HANDLE;
    }
    std::memcpy(buffer, loop.data(), bytesToRead);
    loop.erase(0, bytesToRead);
    *bytesReturned = bytesToRead;
    return FT_OK;
}

FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    if (!IsOpenHandle(handle)) {
        return FT_INVALID_HANDLE;
    }
    loop.append(static_cast<const char*>(buffer), bytesToWrite);
    *bytesWritten = bytesToWrite;
    return FT_OK;
}

FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask)
{
    if (!IsOpenHandle(handle)) {
        return FT_INVALID_HANDLE;
    }
    if (mask != (FT_PURGE_RX | FT_PURGE_TX)) {
        return FT_INVALID_PARAMETER;
    }
    loop.clear();
    return FT_OK;
}

FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    if (!IsOpenHandle(handle)) {
        return FT_INVALID_HANDLE;
    }
    *rxBytes = static_cast<DWORD>(loop.size());
    return FT_OK;
}

#ifndef FAKE_VENDOR_WITHOUT_SET_USB_PARAMETERS
FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize)
{
    if (!IsOpenHandle(handle)) {
        return FT_INVALID_HANDLE;
    }
    return inTransferSize == 4096 && outTransferSize == 0 ? FT_OK : FT_INVALID_PARAMETER;
}
#endif

#ifndef FAKE_VENDOR_WITHOUT_DISCOVERY
FT_STATUS FT_CreateDeviceInfoList(LPDWORD numDevs)
{
    *numDevs = 1;
    return FT_OK;
}

FT_STATUS FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                 LPVOID serialNumber, LPVOID description, FT_HANDLE* handle)
{
    if (index != 0) {
        return FT_DEVICE_NOT_FOUND;
    }
    *flags = opened ? FT_FLAGS_OPENED : 0;
    *type = FT_DEVICE_232H;
    *id = 0x04036014;
    *locId = 0x2A;
    std::strcpy(static_cast<char*>(serialNumber), FAKE_VENDOR_SERIAL);
    std::strcpy(static_cast<char*>(description), FAKE_VENDOR_DESCRIPTION);
    *handle = opened ? &device : nullptr;
    return FT_OK;
}

FT_STATUS FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle)
{
    if (flags != FT_OPEN_BY_SERIAL_NUMBER || std::strcmp(static_cast<const char*>(arg1), FAKE_VENDOR_SERIAL) != 0) {
        return FT_DEVICE_NOT_FOUND;
    }
    return FT_Open(0, handle);
}
#endif

} // extern "C"
