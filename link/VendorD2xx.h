#pragma once

#include "D2xx.h"
#include "SharedLibrary.h"

#include <memory>

// FTDI's own D2XX library, loaded at run time. It is only ever created
// complete: a library that lacks one of the seven functions is not used. The
// device list and FT_OpenEx are bound by name when all three are there;
// without them the library still serves device 0.
class VendorD2xx : public D2xx, private D2xxDiscovery {
public:
    // Null when the library at `path` cannot be loaded or lacks a function.
    static std::unique_ptr<D2xx> Load(const char* path);

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;
    D2xxDiscovery* Discovery() override;

private:
    VendorD2xx() = default;
    bool BindAll();
    bool BindDiscovery();

    FT_STATUS FT_CreateDeviceInfoList(LPDWORD numDevs) override;
    FT_STATUS FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                     LPVOID serialNumber, LPVOID description, FT_HANDLE* handle) override;
    FT_STATUS FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle) override;

    std::unique_ptr<SharedLibrary> library;
    FT_OpenFn open = nullptr;
    FT_CloseFn close = nullptr;
    FT_ReadFn read = nullptr;
    FT_WriteFn write = nullptr;
    FT_PurgeFn purge = nullptr;
    FT_GetQueueStatusFn getQueueStatus = nullptr;
    FT_SetUSBParametersFn setUSBParameters = nullptr;
    bool discovery = false;
    FT_CreateDeviceInfoListFn createDeviceInfoList = nullptr;
    FT_GetDeviceInfoDetailFn getDeviceInfoDetail = nullptr;
    FT_OpenExFn openEx = nullptr;
};
