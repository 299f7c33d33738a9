#pragma once

// The boundary to FTDI's D2XX driver: its types, status codes and the seven
// functions this program uses, with the vendor's C prototypes. The link is
// given a D2xx and never calls a global, so the vendor library, the libftdi
// driver, the virtual board and the tests' fake all stand behind the same
// seven calls.

#include <cstdint>
#include <string>

#if defined(_WIN32)
#define FTD2XX_CALL __stdcall
#else
#define FTD2XX_CALL
#endif

using FT_HANDLE = void*;
using DWORD = std::uint32_t;   // 32 bits in the vendor's headers on every platform
using ULONG = std::uint32_t;
using LPDWORD = DWORD*;
using LPVOID = void*;
using FT_STATUS = ULONG;

// Status codes, as the vendor numbers them.
enum : FT_STATUS {
    FT_OK = 0,
    FT_INVALID_HANDLE = 1,
    FT_DEVICE_NOT_FOUND = 2,
    FT_DEVICE_NOT_OPENED = 3,
    FT_IO_ERROR = 4,
    FT_INSUFFICIENT_RESOURCES = 5,
    FT_INVALID_PARAMETER = 6,
    FT_NOT_SUPPORTED = 17,
    FT_OTHER_ERROR = 18,
};

// FT_OpenEx: the first argument is a serial number (a NUL-terminated text).
enum : DWORD {
    FT_OPEN_BY_SERIAL_NUMBER = 1,
};

// FT_GetDeviceInfoDetail: bit 0 of the flags, the device is open (in this or
// another program).
constexpr DWORD FT_FLAGS_OPENED = 1;

// FT_GetDeviceInfoDetail: the bridge type.
enum : DWORD {
    FT_DEVICE_BM = 0,
    FT_DEVICE_AM = 1,
    FT_DEVICE_100AX = 2,
    FT_DEVICE_UNKNOWN = 3,
    FT_DEVICE_2232C = 4,
    FT_DEVICE_232R = 5,
    FT_DEVICE_2232H = 6,
    FT_DEVICE_4232H = 7,
    FT_DEVICE_232H = 8,
    FT_DEVICE_X_SERIES = 9,
};

// The buffers FT_GetDeviceInfoDetail fills, NUL included.
constexpr DWORD FT_SerialNumberSize = 16;
constexpr DWORD FT_DescriptionSize = 64;

// FT_Purge masks.
enum : ULONG {
    FT_PURGE_RX = 1,
    FT_PURGE_TX = 2,
};

// The C prototypes of the seven exports.
extern "C" {
using FT_OpenFn = FT_STATUS(FTD2XX_CALL*)(int deviceNumber, FT_HANDLE* handle);
using FT_CloseFn = FT_STATUS(FTD2XX_CALL*)(FT_HANDLE handle);
using FT_ReadFn = FT_STATUS(FTD2XX_CALL*)(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned);
using FT_WriteFn = FT_STATUS(FTD2XX_CALL*)(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten);
using FT_PurgeFn = FT_STATUS(FTD2XX_CALL*)(FT_HANDLE handle, ULONG mask);
using FT_GetQueueStatusFn = FT_STATUS(FTD2XX_CALL*)(FT_HANDLE handle, DWORD* rxBytes);
using FT_SetUSBParametersFn = FT_STATUS(FTD2XX_CALL*)(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize);
// Device discovery, found by name only.
using FT_CreateDeviceInfoListFn = FT_STATUS(FTD2XX_CALL*)(LPDWORD numDevs);
using FT_GetDeviceInfoDetailFn = FT_STATUS(FTD2XX_CALL*)(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id,
                                                         LPDWORD locId, LPVOID serialNumber, LPVOID description,
                                                         FT_HANDLE* handle);
using FT_OpenExFn = FT_STATUS(FTD2XX_CALL*)(LPVOID arg1, DWORD flags, FT_HANDLE* handle);
}

// Whether a listed device can be opened, and if not, why.
enum class DeviceState {
    Usable,
    Busy,          // open in another program
    NoPermission,  // the operating system does not let this user open it
    KernelDriver,  // the kernel's own driver holds it and will not let go
    Unreadable,    // the driver could not describe it
};

// What a driver may know of a listed device beyond the vendor's fields.
struct D2xxEntryNote {
    std::string Location;  // where the operating system has it, "1-2.3"; empty: the location id stands
    DeviceState State = DeviceState::Usable;
    std::string Reason;    // the driver's words for any state but usable
};

// The driver's list of attached devices, and opening one by serial number.
// Not every driver has it: FTDI's library exports these by name only, and
// an older or partial library may lack them.
class D2xxDiscovery {
public:
    virtual ~D2xxDiscovery() = default;

    // Takes a fresh snapshot of the attached devices; the count goes to numDevs.
    virtual FT_STATUS FT_CreateDeviceInfoList(LPDWORD numDevs) = 0;
    // One entry of the latest snapshot; serialNumber takes FT_SerialNumberSize
    // bytes, description FT_DescriptionSize.
    virtual FT_STATUS FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                             LPVOID serialNumber, LPVOID description, FT_HANDLE* handle) = 0;
    virtual FT_STATUS FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle) = 0;

    // More about one entry of the latest snapshot, from a driver that knows
    // more than the vendor's flags tell; false when it has nothing to add.
    virtual bool DescribeEntry(DWORD /*index*/, D2xxEntryNote& /*note*/) { return false; }
};

// The seven functions as one interface, with the vendor's arguments.
class D2xx {
public:
    virtual ~D2xx() = default;

    virtual FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) = 0;
    virtual FT_STATUS FT_Close(FT_HANDLE handle) = 0;
    virtual FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) = 0;
    virtual FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) = 0;
    virtual FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) = 0;
    virtual FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) = 0;
    virtual FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) = 0;

    // The driver's device list, or null when it has none (then only device 0
    // can be opened).
    virtual D2xxDiscovery* Discovery() { return nullptr; }
};
