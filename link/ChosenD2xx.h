#pragma once

#include "D2xx.h"

#include <string>

// A driver with one device chosen by its serial number. The link always opens
// device 0; here that opens the chosen device through FT_OpenEx instead.
// With nothing chosen every call passes through unchanged, so one attached
// device behaves exactly as without this layer. The driver must outlive it.
class ChosenD2xx : public D2xx {
public:
    explicit ChosenD2xx(D2xx& driver);

    // An empty serial chooses nothing. False, and nothing chosen, when the
    // driver cannot open a device by serial number.
    bool Choose(const std::string& serial);

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;
    D2xxDiscovery* Discovery() override;

private:
    D2xx& driver_;
    std::string serial_;
};
