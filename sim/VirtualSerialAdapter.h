#pragma once

#include "D2xx.h"

#include <string>

// An FTDI USB-serial adapter with something else on its far side: either
// nothing that answers (silent), or a loop that sends back every byte it is
// given (echo). Neither is a KORVADEX Board; they are there so that the host
// learns to tell one apart.
class VirtualSerialAdapter : public D2xx {
public:
    explicit VirtualSerialAdapter(bool echo);

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;

private:
    FT_STATUS Enter(FT_HANDLE handle) const;

    bool echo_;
    bool open_ = false;
    std::string queue_;  // bytes waiting for the host
};
